// The README's "Embedding the attributes in your application", a host's dialog over a panel file;
// the consumer test compiles it against the installed package and runs it offscreen. The lines
// between the two README markers are the README's code, word for word (a CTest check
// compares them).
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTimer>

#include <iostream>

// README: embedding begins
#include "framework/KesMfgValueRecords.h"
#include "param/KesMfgAttDoubleParam.h"
#include "platform/KesMfgBaseGII.h"
#include "platform/KesMfgModel.h"
#include "platform/KesMfgSetting.h"
#include "qt/KesQtPanelView.h"
#include "tools/KesPanelBuilder.h"
#include "tools/KesPanelFile.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QVBoxLayout>

#include <string>
#include <vector>

// 1. The services. The host's model answers the dialogs; this one keeps the parameters in the
//    built-in model and notes what a dialog created, for the document to save. Its messages go
//    to the host's own log (a status bar, a message pane).
class HostModel final : public KesMfgModelService {
public:
    std::vector<std::string> created;

    KesListValKesUnicodeString* GetParameters() override { return base_->GetParameters(); }
    void ReadParameterDesc(const KesUnicodeString& name, int& d1, int& d2, int& d3, int& d4,
                           int& d5, int& d6, int& d7, KesRawCollint& ints, KesRawColldouble& reals,
                           KesListValKesUnicodeString& texts) override {
        base_->ReadParameterDesc(name, d1, d2, d3, d4, d5, d6, d7, ints, reals, texts);
    }
    void ReadParameter(const KesUnicodeString& name, KesRawCollint& ints, KesRawColldouble& reals,
                       KesListValKesUnicodeString& texts) override {
        base_->ReadParameter(name, ints, reals, texts);
    }
    void CreateParameter(const KesUnicodeString& name, int& d1, int& d2, int& d3, int& d4, int& d5,
                         int& d6, int& d7, const KesRawCollint& ints, const KesRawColldouble& reals,
                         const KesListValKesUnicodeString& texts) override {
        base_->CreateParameter(name, d1, d2, d3, d4, d5, d6, d7, ints, reals, texts);
        if (base_->GetError() == KesMfgModel::kNoError) {
            created.push_back(name.Str());
        }
    }
    void ModifyParameterValue(const KesUnicodeString& name, const KesRawCollint& ints,
                              const KesRawColldouble& reals,
                              const KesListValKesUnicodeString& texts) override {
        base_->ModifyParameterValue(name, ints, reals, texts);
    }
    int GetError() override { return base_->GetError(); }

private:
    KesMfgModelService* base_ = KesMfgModel::BuiltIn();
};

class HostMessages final : public KesMfgBaseGIIService {
public:
    std::vector<std::string> shown;
    void SetGIIError(int code, int /*reserved*/) override {
        shown.push_back(std::to_string(code) + ": " + KesMfgBaseGII::GetCodeText(code));
    }
};

// Installed for as long as the host's dialogs may open; the built-in ones come back after.
class HostServices {
public:
    HostServices() {
        KesMfgModel::Install(&model);
        KesMfgBaseGII::Install(&messages);
    }
    ~HostServices() {
        KesMfgModel::Install(nullptr);
        KesMfgBaseGII::Install(nullptr);
    }
    HostServices(const HostServices&) = delete;
    HostServices& operator=(const HostServices&) = delete;
    HostModel model;
    HostMessages messages;
};

// Opens an operation's panel with the values it stored. OK: true, and `stored` holds the new
// records. Cancel, or a panel file that cannot be used: false, and `stored` is unchanged.
bool EditOperation(const std::string& panelFile, KesMfgValueRecords& stored, QWidget* parent,
                   std::string& fault) {
    // 2. Build the panel from its file, into a parent frame that owns the attributes.
    KesPanelDescription description;
    fault = KesPanelFile::Read(panelFile, description);
    if (!fault.empty()) {
        return false;
    }
    KesDlgFrame frame(nullptr, "Operation");
    // Over the host's model as it stands; the builder is kept as long as the panel.
    KesPanelBuilder builder;
    fault = builder.BuildOverModel(description, frame);
    if (!fault.empty()) {
        return false;
    }
    const std::vector<KesMfgAttribute*>& attributes = builder.Attributes();

    // 3. Push the stored values, each record into the attribute of its name. A bound real is
    //    pushed with its parameter's value along with the name (a name alone leaves the old
    //    value shown). Then the steering attributes apply their impacts.
    std::vector<KesMfgValueRecords::Record> records;
    stored.Split(records);
    for (const KesMfgValueRecords::Record& record : records) {
        for (KesMfgAttribute* attribute : attributes) {
            if (!(attribute->GetRecordName() == record.name)) {
                continue;
            }
            KesRawCollint ints;
            KesRawColldouble reals;
            KesListValKesUnicodeString texts;
            for (int value : record.ints) {
                ints.Append(value);
            }
            for (double value : record.reals) {
                reals.Append(value);
            }
            for (const KesUnicodeString& text : record.texts) {
                texts.Append(text);
            }
            if (record.count == -1 && texts.Size() == 1) {
                const KesUnicodeString parameter = texts[1].Strip(3, KesUnicodeChar(' '));
                KesRawCollint unusedInts;
                KesListValKesUnicodeString unusedTexts;
                KesMfgModel::ReadParameter(parameter, unusedInts, reals, unusedTexts);
                texts.RemoveAll();
                texts.Append(parameter);
            }
            attribute->SetAttValue(&ints, &reals, &texts, 0);
        }
    }
    for (KesMfgAttribute* attribute : attributes) {
        attribute->ImpactAttributes(); // does nothing on an attribute that steers none
    }

    // 4. Show it with the Qt view in the host's dialog.
    QDialog dialog(parent);
    dialog.setWindowTitle(QString::fromStdString(description.title));
    auto* layout = new QVBoxLayout(&dialog);
    KesQtPanelView view(frame);
    layout->addWidget(view.Widget());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }

    // 5. Collect the records into the operation.
    stored.Clear();
    for (KesMfgAttribute* attribute : attributes) {
        stored.GetAttValue(*attribute);
    }
    return true;
}

// The spinner step the user set with "Define step…" on the parameterised reals of that name,
// read before any attribute exists; `otherwise` when none was set.
double StoredStep(const std::string& attributeName, double otherwise) {
    double step = otherwise;
    KesMfgSetting::ReadSetting(KesMfgAttDoubleParam::StepSettingKey(attributeName), &step,
                               KesMfgAttDoubleParam::kStepSettingFile);
    return step;
}
// README: embedding ends

namespace {

// Presses a button of the dialog the host opens, as its user would, once it is shown.
void PressWhenShown(QDialogButtonBox::StandardButton which) {
    QTimer::singleShot(0, [which] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* buttons = window->isVisible() ? window->findChild<QDialogButtonBox*>() : nullptr;
            if (buttons != nullptr) {
                buttons->button(which)->click();
                return;
            }
        }
    });
}

bool Check(bool ok, const char* what) {
    if (!ok) {
        std::cout << "embedding example FAILED: " << what << std::endl;
    }
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    HostServices services;
    // The steps are kept in a folder of this run's own.
    const std::string settings = QDir::tempPath().toStdString() + "/kes-embedding-" +
                                 std::to_string(QCoreApplication::applicationPid());
    qputenv("KES_SETTINGS_DIR", settings.c_str());
    const double presetStep = 25.0;
    KesMfgSetting::WriteSetting(KesMfgAttDoubleParam::StepSettingKey("Feed_Rate"), &presetStep,
                                KesMfgAttDoubleParam::kStepSettingFile);
    int d1 = 2, d2 = 1, d3 = 1, d4 = 2, d5 = 0, d6 = 0, d7 = 0;
    KesMfgModel::CreateParameter("FEED_FINISHING_PASS", d1, d2, d3, d4, d5, d6, d7, KesRawCollint(),
                                 KesRawColldouble{450.0}, KesListValKesUnicodeString());
    // The operation's values from its last OK: three passes, the feed bound to the parameter.
    KesMfgValueRecords stored;
    stored.names = {"Passes", "Feed_Rate"};
    stored.typeCodes = {1, 2};
    stored.counts = {1, -1};
    stored.ints = {3};
    stored.texts = {"FEED_FINISHING_PASS"};
    const std::string before = stored.FormatTable();
    std::string fault;

    PressWhenShown(QDialogButtonBox::Cancel);
    bool ok = Check(!EditOperation(KES_CONSUMER_PANEL, stored, nullptr, fault) && fault.empty() &&
                        stored.FormatTable() == before,
                    "Cancel changed the operation");
    PressWhenShown(QDialogButtonBox::Ok);
    ok &= Check(EditOperation(KES_CONSUMER_PANEL, stored, nullptr, fault), "OK gave no records");
    std::vector<KesMfgValueRecords::Record> records;
    ok &= Check(stored.Split(records) && records.size() == 2 && records[0].ints == std::vector{3} &&
                    records[1].count == -1 &&
                    records[1].texts[0].Strip(3, KesUnicodeChar(' ')) == "FEED_FINISHING_PASS",
                "the records are not the pushed values");
    ok &= Check(!EditOperation("no-such-panel.json", stored, nullptr, fault) && !fault.empty(),
                "a missing panel file was not refused");
    ok &= Check(services.model.created == std::vector<std::string>{"FEED_FINISHING_PASS"} &&
                    services.messages.shown.empty(),
                "the host's services did not answer");
    ok &= Check(StoredStep("Feed_Rate", 0.5) == 25.0 && StoredStep("Other", 0.5) == 0.5,
                "the stored step is not read by the attribute's name");
    QDir(QString::fromStdString(settings)).removeRecursively();
    std::cout << (ok ? "embedding example ok" : "embedding example FAILED") << std::endl;
    return ok ? 0 : 1;
}
