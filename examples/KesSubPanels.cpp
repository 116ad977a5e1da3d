// The sub-dialogs of a panel's links: a child QDialog per press, over a frame of its own.
#include "KesSubPanels.h"

#include "framework/KesMfgAttNotifyPB.h"
#include "framework/KesMfgValueRecords.h"
#include "platform/KesDlgTestFrame.h"
#include "qt/KesQtPanelView.h"
#include "single/KesMfgAttLink.h"
#include "tools/KesPanelBuilder.h"
#include "tools/KesPanelHistory.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

struct KesSubPanels::Link {
    KesMfgAttLink* link = nullptr;
    std::shared_ptr<const KesPanelDescription> subPanel;
    KesAttributeState remembered; // what Cancel puts back
};

// One open sub-dialog: its frame, the sub-panel built in it, the view and the Qt dialog.
class KesSubPanels::Dialog {
public:
    Dialog(Link& link, QWidget* parent) : link_(link), frame_("SubPanel") {
        frame_.SetTitle(KesUnicodeString(link.subPanel->title));
        dialog_ = new QDialog(parent);
        dialog_->setObjectName(QStringLiteral("subPanel"));
        dialog_->setAttribute(Qt::WA_DeleteOnClose, false);
        dialog_->setWindowTitle(QString::fromStdString(link.subPanel->title));
    }
    ~Dialog() {
        view_.reset(); // while the Qt widgets it mirrors into still stand
        delete dialog_;
    }
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Builds the sub-panel and shows the link's records in it; the fault when it cannot.
    std::string Build() {
        std::string fault = builder_.BuildOverModel(*link_.subPanel, frame_);
        if (!fault.empty()) {
            return fault;
        }
        // The records the link held before the press (a relay may have answered it since),
        // each pushed into the sub-panel attribute of its name.
        std::vector<KesMfgValueRecords::Record> split;
        if (link_.remembered.records.Split(split)) {
            for (const KesMfgValueRecords::Record& record : split) {
                for (KesMfgAttribute* attribute : builder_.Attributes()) {
                    if (attribute->GetRecordName() == record.name) {
                        StateOf(record).Apply(*attribute);
                    }
                }
            }
            for (KesMfgAttribute* attribute : builder_.Attributes()) {
                attribute->ImpactAttributes();
            }
        }
        view_ = std::make_unique<KesQtPanelView>(frame_, dialog_);
        auto* buttons =
            new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog_);
        auto* layout = new QVBoxLayout(dialog_);
        layout->addWidget(view_->Widget(), 1);
        layout->addWidget(buttons);
        QObject::connect(buttons, &QDialogButtonBox::accepted, dialog_, &QDialog::accept);
        QObject::connect(buttons, &QDialogButtonBox::rejected, dialog_, &QDialog::reject);
        return std::string();
    }

    QDialog* Widget() const { return dialog_; }
    KesDlgTestFrame& Frame() { return frame_; }
    KesQtPanelView* View() const { return view_.get(); }
    Link& OfLink() const { return link_; }
    const std::vector<KesMfgAttribute*>& Attributes() const { return builder_.Attributes(); }

private:
    // One record as the state of the attribute it names.
    static KesAttributeState StateOf(const KesMfgValueRecords::Record& record) {
        KesAttributeState state;
        state.records.names.Append(record.name);
        state.records.typeCodes.Append(record.typeCode);
        state.records.counts.Append(record.count);
        for (const int value : record.ints) {
            state.records.ints.Append(value);
        }
        for (const double value : record.reals) {
            state.records.reals.Append(value);
        }
        for (const KesUnicodeString& value : record.texts) {
            state.records.texts.Append(value);
        }
        return state;
    }

    Link& link_;
    KesDlgTestFrame frame_; // records what it hears, for hosts' tests
    KesPanelBuilder builder_;
    std::unique_ptr<KesQtPanelView> view_;
    QPointer<QDialog> dialog_;
};

KesSubPanels::KesSubPanels(KesDlgFrame& frame, const KesPanelDescription& description,
                           const std::vector<KesMfgAttribute*>& attributes, QWidget* parent)
    : parent_(parent), context_(std::make_unique<QObject>()) {
    static KesMfgAttNotifyPB pressed(-1);
    for (const KesPanelAttributeDescription& described : description.attributes) {
        if (described.subPanel == nullptr) {
            continue;
        }
        KesMfgAttLink* link = nullptr;
        for (KesMfgAttribute* attribute : attributes) {
            if (attribute->GetRecordName() == described.Name().c_str()) {
                link = dynamic_cast<KesMfgAttLink*>(attribute);
            }
        }
        if (link == nullptr) {
            continue;
        }
        auto watched = std::make_unique<Link>();
        watched->link = link;
        watched->subPanel = described.subPanel;
        watched->remembered = KesAttributeState::Read(*link);
        Link* answered = watched.get();
        links_.push_back(std::move(watched));
        // The press reaches the frame after the link's own callbacks (a relay) have run.
        frame.AddCallback(link, &pressed, [this, answered](KesCommand*, KesNotification*, void**) {
            Open(*answered);
        });
    }
}

// The dialogs go before the links they answer for.
KesSubPanels::~KesSubPanels() {
    open_.reset();
    closing_.reset();
}

void KesSubPanels::Remember() {
    if (open_ != nullptr) {
        return; // a press is being answered: Cancel puts back what was before it
    }
    for (const std::unique_ptr<Link>& link : links_) {
        link->remembered = KesAttributeState::Read(*link->link);
    }
}

QDialog* KesSubPanels::Current() const {
    return open_ != nullptr ? open_->Widget() : nullptr;
}

KesDlgTestFrame* KesSubPanels::CurrentFrame() const {
    return open_ != nullptr ? &open_->Frame() : nullptr;
}

KesQtPanelView* KesSubPanels::CurrentView() const {
    return open_ != nullptr ? open_->View() : nullptr;
}

void KesSubPanels::Open(Link& link) {
    if (open_ != nullptr) {
        return; // one sub-dialog at a time
    }
    auto dialog = std::make_unique<Dialog>(link, parent_);
    const std::string fault = dialog->Build();
    if (!fault.empty()) {
        if (refused_) {
            refused_(fault);
        }
        return;
    }
    open_ = std::move(dialog);
    QDialog* widget = open_->Widget();
    QObject::connect(widget, &QDialog::finished, widget, [this](int result) {
        // Closed: the records go to the link (OK) or the link is put back (Cancel); the dialog
        // goes once control is back in the event loop, not inside its own signal.
        Link& answered = open_->OfLink();
        if (result == QDialog::Accepted) {
            KesPanelBuilder::HandRecordsToLink(open_->Attributes(), *answered.link);
        } else {
            answered.remembered.Apply(*answered.link, 0);
        }
        QDialog* closed = open_->Widget();
        closed->hide();
        closing_ = std::move(open_);
        QTimer::singleShot(0, context_.get(), [this] { closing_.reset(); });
        Remember();
        if (changed_) {
            changed_();
        }
    });
    widget->setWindowModality(Qt::WindowModal);
    widget->open();
}
