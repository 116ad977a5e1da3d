// kes-host as its users meet it, driven through its own window offscreen: a part document
// opened, an operation's dialog opened, values changed by gestures on the Qt widgets (the
// session driver's commands, made by KesQtHands), the dialog closed with OK, Apply or Cancel,
// the document saved and read again. One table of scenarios; each row is what a user does
// and what the document, the table and the files must show afterwards.
#include "KesHostOperationDialog.h"
#include "KesHostWindow.h"
#include "KesSubPanels.h"

#include "param/KesMfgAttDoubleParam.h"
#include "platform/KesMfgBaseGII.h"
#include "platform/KesMfgModel.h"
#include "platform/KesMfgSetting.h"
#include "qt/KesQtHands.h"
#include "qt/KesQtPanelView.h"
#include "tools/KesPanelDriver.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <nlohmann/json.hpp>

#include <functional>
#include <memory>
#include <sstream>

// Shown by QCOMPARE when they differ.
namespace QTest {
template <> inline char* toString(const std::string& text) {
    return qstrdup(text.c_str());
}
} // namespace QTest

namespace {

using Json = nlohmann::json;

QString Source(const QString& relative) {
    return QStringLiteral(KES_SOURCE_DIR "/") + relative;
}

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(bytes) == bytes.size());
}

// The example part and the panels it names, copied into a folder of their own (host/part.json
// names ../panels/...), and kes-host's window over them.
class Host {
public:
    Host() {
        QDir root(folder_.path());
        root.mkpath(QStringLiteral("host"));
        root.mkpath(QStringLiteral("panels"));
        document_ = folder_.filePath(QStringLiteral("host/part.json"));
        QFile::copy(Source(QStringLiteral("examples/host/part.json")), document_);
        for (const QString& panel : QDir(Source(QStringLiteral("examples/panels")))
                                        .entryList({QStringLiteral("*.json")})) {
            QFile::copy(Source(QStringLiteral("examples/panels/") + panel),
                        folder_.filePath(QStringLiteral("panels/") + panel));
        }
        window_ = std::make_unique<KesHostWindow>();
        window_->show();
    }
    ~Host() { CloseWindow(); }
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    KesHostWindow& Window() { return *window_; }
    // Closes and deletes the window.
    void CloseWindow() {
        Forget();
        window_.reset();
    }
    const QString& DocumentPath() const { return document_; }
    QString Path(const QString& relative) const { return folder_.filePath(relative); }

    // Opens the example document; false when it was refused.
    bool Open() { return window_->OpenDocument(document_).isEmpty(); }

    // Opens operation `index` in its dialog, with the driver's hands on its Qt widgets.
    KesHostOperationDialog* Edit(int index) {
        QString error;
        KesHostOperationDialog* dialog = window_->OpenOperation(index, &error);
        if (dialog == nullptr) {
            qWarning() << error;
            return nullptr;
        }
        Drive(dialog->View(), dialog->Frame(), hands_, driver_);
        return dialog;
    }
    // Runs one of the driver's commands ("spin Depth 3") in the open dialog.
    bool Run(const std::string& line) {
        const bool done =
            driver_ != nullptr && driver_->Run(line, 1) == KesPanelDriver::Status::Done;
        if (!done) {
            qWarning() << "command failed:" << line.c_str() << transcript_.str().c_str();
        }
        return done;
    }
    // Clicks a button of the open dialog, as a person does; OK and Cancel close it.
    void Click(QDialogButtonBox::StandardButton button) {
        KesHostOperationDialog* dialog = window_->OpenDialog();
        QVERIFY(dialog != nullptr);
        QPushButton* pushed = dialog->Button(button);
        QVERIFY(pushed != nullptr);
        QTest::mouseClick(pushed, Qt::LeftButton);
        if (button != QDialogButtonBox::Apply) {
            Forget();
        }
    }
    // Clicks a button of a sub-dialog.
    void Click(QDialog* dialog, QDialogButtonBox::StandardButton button) {
        QVERIFY(dialog != nullptr);
        auto* box = dialog->findChild<QDialogButtonBox*>();
        QVERIFY(box != nullptr && box->button(button) != nullptr);
        subDriver_.reset();
        subHands_.reset();
        QTest::mouseClick(box->button(button), Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    // Runs a driver's command in the open sub-dialog of `dialog`.
    bool RunInSubPanel(KesHostOperationDialog& dialog, const std::string& line) {
        KesSubPanels& subPanels = dialog.SubPanels();
        if (subPanels.CurrentFrame() == nullptr) {
            return false;
        }
        if (subDriver_ == nullptr) {
            Drive(*subPanels.CurrentView(), *subPanels.CurrentFrame(), subHands_, subDriver_);
        }
        return subDriver_->Run(line, 1) == KesPanelDriver::Status::Done;
    }
    std::string Transcript() const { return transcript_.str(); }

    // The dialog, once closed, goes with the next turn of the event loop.
    void Forget() {
        subDriver_.reset();
        subHands_.reset();
        driver_.reset();
        hands_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The entry of attribute `name` in the stored values of operation `index` of `document`,
    // as JSON text ("" when the values hold none).
    static std::string Stored(const KesHostDocument& document, int index, const std::string& name) {
        const std::string& values = document.operations.at(static_cast<size_t>(index)).values;
        if (values.empty()) {
            return std::string();
        }
        const Json parsed = Json::parse(values);
        for (const Json& entry : parsed["attributes"]) {
            if (entry["name"] == name) {
                Json kept = entry;
                kept.erase("name");
                return kept.dump();
            }
        }
        return std::string();
    }
    // The entry of `name` in the values the open document holds for its first operation.
    std::string Stored(const std::string& name) const {
        return Stored(window_->Document(), 0, name);
    }
    // The document saved over its file and read again.
    KesHostDocument SaveAndReread() {
        KesHostDocument document;
        const QString error = window_->SaveDocument(document_);
        if (!error.isEmpty()) {
            qWarning() << error;
        }
        const std::string read = KesHostDocument::Read(document_.toStdString(), document);
        if (!read.empty()) {
            qWarning() << read.c_str();
        }
        return document;
    }
    // The names in the first column of the parameter table.
    QStringList TableNames() const {
        QStringList names;
        for (int row = 0; row < window_->ParameterTable()->rowCount(); ++row) {
            names << window_->ParameterTable()->item(row, KesHostWindow::kName)->text();
        }
        return names;
    }
    int TableRow(const QString& name) const { return TableNames().indexOf(name); }

private:
    // The driver, with its hands on the Qt widgets of a panel's view, once they are laid out.
    template <typename View, typename Frame>
    void Drive(View& view, Frame& frame, std::unique_ptr<KesQtHands>& hands,
               std::unique_ptr<KesPanelDriver>& driver) {
        QCoreApplication::processEvents();
        hands = std::make_unique<KesQtHands>(view, frame);
        driver = std::make_unique<KesPanelDriver>(frame, transcript_, transcript_);
        driver->SetHands(hands.get());
    }

    QTemporaryDir folder_;
    QString document_;
    std::unique_ptr<KesHostWindow> window_;
    std::ostringstream transcript_;
    std::unique_ptr<KesQtHands> hands_;
    std::unique_ptr<KesPanelDriver> driver_;
    std::unique_ptr<KesQtHands> subHands_;
    std::unique_ptr<KesPanelDriver> subDriver_;
};

using Scenario = std::function<void(Host&)>;

} // namespace

Q_DECLARE_METATYPE(Scenario)

class KesHostTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // The host's settings store, in a folder of the test's own.
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_.path());
        QCoreApplication::setOrganizationName(QStringLiteral("KesAttributes"));
        QCoreApplication::setApplicationName(QStringLiteral("kes-host-test"));
    }

    void scenario_data() {
        QTest::addColumn<Scenario>("scenario");

        QTest::newRow("OK stores the values; saved and reopened, they are there") << Scenario(
            [](Host& host) {
                QVERIFY(host.Edit(0) != nullptr);
                QVERIFY(host.Run("spin Depth 7.5"));
                QVERIFY(host.Run("type Comment \"Walls last\""));
                QVERIFY(!host.Window().isWindowModified()); // nothing stored before OK
                host.Click(QDialogButtonBox::Ok);
                QVERIFY(host.Window().OpenDialog() == nullptr);
                QVERIFY(host.Window().isWindowModified());
                QVERIFY(host.Window().windowTitle().contains(QStringLiteral("[*]")));
                const KesHostDocument saved = host.SaveAndReread();
                QVERIFY(!host.Window().isWindowModified());
                QCOMPARE(Host::Stored(saved, 0, "Depth"),
                         std::string(R"({"type":"real","values":[7.5]})"));
                QVERIFY(Host::Stored(saved, 0, "Comment").find("Walls last") != std::string::npos);
                // Reopened, the dialog shows what was stored.
                QVERIFY(host.Window().OpenDocument(host.DocumentPath()).isEmpty());
                KesHostOperationDialog* dialog = host.Edit(0);
                QVERIFY(dialog != nullptr);
                QVERIFY(dialog->Collect().find("7.5") != std::string::npos);
                host.Click(QDialogButtonBox::Cancel);
            });

        QTest::newRow("every operation of the example part opens its dialog, titled by it")
            << Scenario([](Host& host) {
                   QCOMPARE(host.Window().OperationList()->count(), 2);
                   for (int index = 0; index < 2; ++index) {
                       KesHostOperationDialog* dialog = host.Edit(index);
                       QVERIFY(dialog != nullptr);
                       QVERIFY(dialog->isVisible() && dialog->isModal());
                       QCOMPARE(dialog->windowTitle().toStdString(),
                                host.Window().Document().operations[index].name);
                       QString refused;
                       QVERIFY(host.Window().OpenOperation(index, &refused) == nullptr);
                       QVERIFY(refused.contains(QStringLiteral("open already")));
                       host.Click(QDialogButtonBox::Cancel);
                   }
                   QVERIFY(!host.Window().isWindowModified());
               });

        QTest::newRow("Cancel leaves the operation and the document as they were")
            << Scenario([](Host& host) {
                   const KesHostDocument before = host.Window().Document();
                   QVERIFY(host.Edit(0) != nullptr);
                   QVERIFY(host.Run("spin Depth 9"));
                   QVERIFY(host.Run("select Strategy Contour"));
                   host.Click(QDialogButtonBox::Cancel);
                   QVERIFY(host.Window().Document() == before);
                   QVERIFY(!host.Window().isWindowModified());
               });

        QTest::newRow("Apply stores at once; a Cancel afterwards keeps what was applied")
            << Scenario([](Host& host) {
                   QVERIFY(host.Edit(0) != nullptr);
                   QVERIFY(host.Run("spin Depth 6"));
                   host.Click(QDialogButtonBox::Apply);
                   QVERIFY(host.Window().OpenDialog() != nullptr);
                   QCOMPARE(host.Stored("Depth"), std::string(R"({"type":"real","values":[6.0]})"));
                   QVERIFY(host.Run("spin Depth 8"));
                   host.Click(QDialogButtonBox::Cancel);
                   QCOMPARE(host.Stored("Depth"), std::string(R"({"type":"real","values":[6.0]})"));
               });

        QTest::newRow("a parameter created from the dialog is a row at once and is saved; "
                      "a taken name is said with its code and text in the message pane")
            << Scenario([](Host& host) {
                   QVERIFY(host.Edit(0) != nullptr);
                   QVERIFY(host.Run("create Feed_Rate FEED_RAPID"));
                   QVERIFY2(host.Window().MessagePane()->toPlainText().contains(
                                QStringLiteral("Code 20001: ")),
                            qPrintable(host.Window().MessagePane()->toPlainText()));
                   QCOMPARE(host.TableNames().count(QStringLiteral("FEED_RAPID")), 1);
                   QVERIFY(host.Run("create Feed_Rate FEED_HSM"));
                   QVERIFY(host.TableRow(QStringLiteral("FEED_HSM")) >= 0);
                   QVERIFY(host.Window().isWindowModified());
                   QVERIFY(host.Window().MessagePane()->toPlainText().contains(
                       QStringLiteral("Code 20002")));
                   host.Click(QDialogButtonBox::Ok);
                   QCOMPARE(host.Stored("Feed_Rate"),
                            std::string(R"({"parameter":"FEED_HSM","type":"real"})"));
                   QVERIFY(host.SaveAndReread().Find("FEED_HSM") != nullptr);
               });

        QTest::newRow("a value edited in the table is what the dialog offers and binds")
            << Scenario([](Host& host) {
                   QTableWidget* table = host.Window().ParameterTable();
                   const int row = host.TableRow(QStringLiteral("FEED_FINISH"));
                   QVERIFY(row >= 0);
                   table->item(row, KesHostWindow::kValue)->setText(QStringLiteral("654"));
                   QCOMPARE(host.Window().Document().Find("FEED_FINISH")->reals,
                            std::vector<double>{654.0});
                   const int added = host.Window().AddParameter();
                   table->item(added, KesHostWindow::kName)->setText(QStringLiteral("FEED_SLOT"));
                   table->item(added, KesHostWindow::kUnits)->setText(QStringLiteral("1 2 0"));
                   KesHostOperationDialog* dialog = host.Edit(0);
                   QVERIFY(dialog != nullptr);
                   QVERIFY(host.Run("drop Feed_Rate"));
                   KesMfgAttDoubleParam* feed = nullptr;
                   for (KesMfgAttribute* attribute : dialog->Attributes()) {
                       if (attribute->GetRecordName() == "Feed_Rate") {
                           feed = dynamic_cast<KesMfgAttDoubleParam*>(attribute);
                       }
                   }
                   QVERIFY(feed != nullptr);
                   QVERIFY(host.Run("select Feed_Rate FEED_SLOT")); // offered
                   QVERIFY(host.Run("select Feed_Rate FEED_FINISH"));
                   QCOMPARE(feed->GetShownValue(), 654.0);
                   host.Click(QDialogButtonBox::Cancel);
               });

        QTest::newRow("a link's sub-panel: OK hands its records to the link, Cancel puts it back")
            << Scenario([](Host& host) {
                   KesHostOperationDialog* dialog = host.Edit(0);
                   QVERIFY(dialog != nullptr);
                   const std::string before = dialog->Collect();
                   QVERIFY(host.Run("press Approach_Retract"));
                   QVERIFY(dialog->SubPanels().Current() != nullptr);
                   QVERIFY(dialog->SubPanels().Current()->isVisible());
                   host.Click(dialog->SubPanels().Current(), QDialogButtonBox::Cancel);
                   QVERIFY(dialog->SubPanels().Current() == nullptr);
                   QCOMPARE(dialog->Collect(), before); // the relay the press gave is undone

                   QVERIFY(host.Run("press Approach_Retract"));
                   QVERIFY(host.RunInSubPanel(*dialog, "spin Approach_Distance 12.5"));
                   QVERIFY(host.RunInSubPanel(*dialog, "select Retract_Mode \"At feed rate\""));
                   host.Click(dialog->SubPanels().Current(), QDialogButtonBox::Ok);
                   host.Click(QDialogButtonBox::Ok);
                   QCOMPARE(host.Stored("Approach_Retract"),
                            std::string(R"({"records":[{"name":"Approach_Distance","type":"real",)"
                                        R"("values":[12.5]},{"name":"Retract_Mode","type":)"
                                        R"("text","values":["FEED"]}]})"));
                   // Reopened, the sub-panel shows what the link holds.
                   dialog = host.Edit(0);
                   QVERIFY(dialog != nullptr);
                   QVERIFY(host.Run("press Approach_Retract"));
                   QVERIFY(host.RunInSubPanel(*dialog, "values"));
                   QVERIFY(host.Transcript().find("Approach_Distance | real | 1 | 12.5") !=
                           std::string::npos);
                   host.Click(dialog->SubPanels().Current(), QDialogButtonBox::Cancel);
                   host.Click(QDialogButtonBox::Cancel);
               });

        QTest::newRow("Undo and Redo in the dialog take the gesture back and again before OK")
            << Scenario([](Host& host) {
                   KesHostOperationDialog* dialog = host.Edit(0);
                   QVERIFY(dialog != nullptr);
                   QVERIFY(host.Run("spin Depth 9"));
                   auto* undo = dialog->findChild<QAction*>(QStringLiteral("undo"));
                   QVERIFY(undo != nullptr && undo->isEnabled());
                   undo->trigger();
                   QVERIFY(!undo->isEnabled());
                   auto* redo = dialog->findChild<QAction*>(QStringLiteral("redo"));
                   QVERIFY(redo != nullptr && redo->isEnabled());
                   redo->trigger();
                   QVERIFY(dialog->Collect().find(R"("Depth", "type": "real", "values": [9.0])") !=
                           std::string::npos);
                   undo->trigger();
                   host.Click(QDialogButtonBox::Ok);
                   QCOMPARE(host.Stored("Depth"), std::string(R"({"type":"real","values":[4.0]})"));
               });

        QTest::newRow("the spinner step is kept in the host's settings store")
            << Scenario([](Host& host) {
                   QVERIFY(host.Edit(0) != nullptr);
                   QVERIFY(host.Run("step Feed_Rate 25"));
                   host.Click(QDialogButtonBox::Cancel);
                   bool stored = false;
                   for (const QString& key : QSettings().allKeys()) {
                       stored = stored || (key.contains(QStringLiteral("Feed_Rate")) &&
                                           QSettings().value(key).toDouble() == 25.0);
                   }
                   QVERIFY(stored);
               });

        QTest::newRow("a save onto a folder fails, says why and keeps the old file")
            << Scenario([](Host& host) {
                   const QByteArray before = Bytes(host.DocumentPath());
                   host.Window().AddParameter();
                   QVERIFY(QDir().mkpath(host.Path(QStringLiteral("host/taken.json"))));
                   const QString error =
                       host.Window().SaveDocument(host.Path(QStringLiteral("host/taken.json")));
                   QVERIFY(error.contains(QStringLiteral("taken.json")));
                   QCOMPARE(Bytes(host.DocumentPath()), before);
                   QVERIFY(QFileInfo(host.Path(QStringLiteral("host/taken.json"))).isDir());
                   QCOMPARE(host.Window().DocumentPath(), host.DocumentPath());
                   QVERIFY(host.Window().isWindowModified());
                   // No temporary file is left beside it.
                   QCOMPARE(QDir(host.Path(QStringLiteral("host"))).entryList(QDir::Files),
                            QStringList{QStringLiteral("part.json")});
               });

        QTest::newRow("a broken document is refused with its file and line; the open one stays")
            << Scenario([](Host& host) {
                   host.Window().AddParameter();
                   const KesHostDocument before = host.Window().Document();
                   const QString broken = host.Path(QStringLiteral("host/broken.json"));
                   const QByteArray head = "{\n  \"format\": \"kes-part\",\n  \"version\": 1,\n";
                   const struct {
                       QByteArray text;
                       const char* fault; // after "FILE:"
                   } documents[] = {
                       {head +
                            "  \"parameters\": [\n    {\"name\": \"A B\", \"type\": 2}\n  ]\n}\n",
                        "5: 'parameters[1].name': a name has 1 to 72 characters"},
                       {head.left(head.size() - 1) + ",\n}\n", "3: not JSON: "},
                       {"{\n  \"format\": \"kes-values\",\n  \"version\": 1\n}\n",
                        "2: 'format': expected \"kes-part\""},
                       {head + "  \"operations\": [\n    {\"name\": \"Pocket\"}\n  ]\n}\n",
                        "5: 'operations[1]': the key 'panel' is missing"},
                       {head + "  \"operation\": []\n}\n", "4: 'operation': unknown key"},
                       {head + "  \"parameters\": [\n    {\"name\": \"F\", \"type\": 2},\n"
                               "    {\"name\": \"F\", \"type\": 1}\n  ]\n}\n",
                        "6: 'parameters[2].name': the parameter 'F' is given twice"},
                       {head + "  \"operations\": [\n    {\"name\": \"P\", \"panel\": \"p.json\",\n"
                               "     \"values\": {\"format\": \"kes-values\"}}\n  ]\n}\n",
                        "6: 'operations[1].values': "},
                   };
                   for (const auto& document : documents) {
                       Write(broken, document.text);
                       const QString error = host.Window().OpenDocument(broken);
                       QVERIFY2(error.startsWith(broken + QLatin1Char(':') +
                                                 QString::fromUtf8(document.fault)),
                                qPrintable(error));
                       QVERIFY(host.Window().Document() == before);
                       QCOMPARE(host.Window().DocumentPath(), host.DocumentPath());
                       QVERIFY(host.Window().isWindowModified());
                   }
               });

        QTest::newRow("a panel file that cannot be read is refused and nothing changes")
            << Scenario([](Host& host) {
                   Write(host.Path(QStringLiteral("panels/drilling.json")), "{\"title\": 3}\n");
                   const KesHostDocument before = host.Window().Document();
                   QString error;
                   QVERIFY(host.Window().OpenOperation(1, &error) == nullptr);
                   QVERIFY2(error.contains(QStringLiteral("drilling.json")), qPrintable(error));
                   QVERIFY(host.Window().Document() == before);
                   QVERIFY(host.Window().OpenDialog() == nullptr);
                   QVERIFY(!host.Window().isWindowModified());
               });

        QTest::newRow("the host's services answer while its window lives, the built-in after")
            << Scenario([](Host& host) {
                   QVERIFY(KesMfgModel::Installed() != KesMfgModel::BuiltIn());
                   QVERIFY(KesMfgModel::HasParameter("FEED_DRILL")); // the document's
                   QVERIFY(KesMfgSetting::Installed() != KesMfgSetting::BuiltIn());
                   QVERIFY(KesMfgBaseGII::Installed() != KesMfgBaseGII::BuiltIn());
                   host.CloseWindow();
                   QVERIFY(KesMfgModel::Installed() == KesMfgModel::BuiltIn());
                   QVERIFY(!KesMfgModel::HasParameter("FEED_DRILL"));
                   QVERIFY(KesMfgSetting::Installed() == KesMfgSetting::BuiltIn());
                   QVERIFY(KesMfgBaseGII::Installed() == KesMfgBaseGII::BuiltIn());
               });

        QTest::newRow("the table adds, renames, edits and removes parameters") << Scenario(
            [](Host& host) {
                QTableWidget* table = host.Window().ParameterTable();
                const int row = host.Window().AddParameter();
                table->item(row, KesHostWindow::kName)->setText(QStringLiteral("DEPTH_MAX"));
                table->item(row, KesHostWindow::kValue)->setText(QStringLiteral("12.5"));
                table->item(row, KesHostWindow::kValue)->setText(QStringLiteral("deep"));
                table->item(row, KesHostWindow::kName)->setText(QStringLiteral("A B"));
                const KesHostParameter* kept = host.Window().Document().Find("DEPTH_MAX");
                QVERIFY(kept != nullptr);
                QCOMPARE(kept->reals, std::vector<double>{12.5}); // "deep" refused
                QCOMPARE(table->item(row, KesHostWindow::kValue)->text(), QStringLiteral("12.5"));
                QVERIFY(host.Window().RemoveParameter(row));
                QVERIFY(host.Window().Document().Find("DEPTH_MAX") == nullptr);
                QVERIFY(host.Window().isWindowModified());
            });
    }

    void scenario() {
        QFETCH(Scenario, scenario);
        Host host;
        QVERIFY(host.Open());
        scenario(host);
    }

private:
    QTemporaryDir settings_;
};

QTEST_MAIN(KesHostTest)
#include "KesHostTest.moc"
