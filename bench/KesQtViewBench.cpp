// The Qt view: panels of 100 and 1,000 attributes of mixed classes shown through the view, next
// to the same Qt widgets built directly with no toolkit behind them (the ratio of the two is the
// view's overhead), and the time for one attribute change to reach its Qt widget. Built only
// with the Qt view; runs on Qt's offscreen platform unless another is asked for.
#include "choice/KesMfgAttCharList.h"
#include "choice/KesMfgAttIntList.h"
#include "platform/KesDlgFrame.h"
#include "qt/KesQtPanelView.h"
#include "single/KesMfgAttChar.h"
#include "single/KesMfgAttDouble.h"
#include "single/KesMfgAttInt.h"
#include "single/KesMfgAttLogic.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

// One application for the whole run, never destroyed: Qt must outlive every benchmark.
void EnsureApplication() {
    if (QApplication::instance() != nullptr) {
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argumentCount = 1;
    static char programName[] = "kes-bench";
    static char* arguments[] = {programName, nullptr};
    new QApplication(argumentCount, arguments);
}

// The six classes of the mixed panel, in turn: integer and real spinners, a text editor, a
// check button, a combo and three radio buttons.
constexpr int kClasses = 6;

// The panel in the toolkit: a frame of `count` displayed attributes.
std::unique_ptr<KesDlgFrame> BuildPanel(int count) {
    auto frame = std::make_unique<KesDlgFrame>(nullptr, "Panel");
    for (int i = 0; i < count; ++i) {
        const std::string name = "Attribute_" + std::to_string(i);
        const std::string label = "Attribute " + std::to_string(i);
        KesMfgAttribute* attribute = nullptr;
        switch (i % kClasses) {
        case 0:
            attribute = new KesMfgAttInt(name, label, i % 50, 0, 100, 0, frame.get(), 1);
            break;
        case 1:
            attribute =
                new KesMfgAttDouble(name, label, 2.5, 0.0, 50.0, 0.0, 0, 0, 0, frame.get(), 1, 0);
            break;
        case 2:
            attribute = new KesMfgAttChar(name, label, "text", "", frame.get(), 1);
            break;
        case 3:
            attribute = new KesMfgAttLogic(name, label, 1, 0, frame.get(), 1, 0, nullptr);
            break;
        case 4:
            attribute = new KesMfgAttIntList(name, label, 1, {1, -1}, {"Climb", "Conventional"}, 0,
                                             frame.get(), 1, 0);
            break;
        default:
            attribute = new KesMfgAttCharList(name, label, "A", {"A", "B", "C"},
                                              {"Alpha", "Beta", "Gamma"}, "", frame.get(), 1, 1);
            break;
        }
        attribute->Display();
    }
    return frame;
}

// The same Qt widgets built directly, in the same nesting as the view builds them: a scroll
// area, the panel's widget in a column, per attribute a frame with its label (one label column
// wide) and its value widget(s), with the same ranges, values and texts.
std::unique_ptr<QScrollArea> BuildDirect(int count) {
    auto area = std::make_unique<QScrollArea>();
    area->setWidgetResizable(true);
    auto* holder = new QWidget(area.get());
    auto* column = new QVBoxLayout(holder);
    auto* panel = new QWidget(holder);
    auto* rows = new QVBoxLayout(panel);
    for (int i = 0; i < count; ++i) {
        const QString label = QStringLiteral("Attribute %1").arg(i);
        auto* frame = new QWidget(panel);
        auto* row = new QHBoxLayout(frame);
        row->setContentsMargins(0, 0, 0, 0);
        auto* title = new QLabel(label, frame);
        title->setMinimumWidth(120);
        row->addWidget(title);
        QWidget* value = nullptr;
        switch (i % kClasses) {
        case 0: {
            auto* spinner = new QSpinBox(frame);
            spinner->setRange(0, 100);
            spinner->setValue(i % 50);
            value = spinner;
            break;
        }
        case 1: {
            auto* spinner = new QDoubleSpinBox(frame);
            spinner->setRange(0.0, 50.0);
            spinner->setDecimals(7);
            spinner->setSingleStep(0.5);
            spinner->setValue(2.5);
            value = spinner;
            break;
        }
        case 2:
            value = new QLineEdit(QStringLiteral("text"), frame);
            break;
        case 3: {
            auto* check = new QCheckBox(frame);
            check->setChecked(true);
            value = check;
            break;
        }
        case 4: {
            auto* combo = new QComboBox(frame);
            combo->addItems({QStringLiteral("Climb"), QStringLiteral("Conventional")});
            value = combo;
            break;
        }
        default:
            for (const QString& text :
                 {QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Gamma")}) {
                auto* radio = new QRadioButton(text, frame);
                radio->setAutoExclusive(false);
                row->addWidget(radio);
            }
            break;
        }
        if (value != nullptr) {
            value->setAccessibleName(label);
            row->addWidget(value, 1);
        }
        rows->addWidget(frame);
    }
    column->addWidget(panel);
    column->addStretch(1);
    area->setWidget(holder);
    return area;
}

void ShowAndSettle(QWidget& widget) {
    widget.resize(800, 600);
    widget.show();
    QApplication::processEvents();
}

// The toolkit panel is built outside the timing: what is timed is the view, built and shown.
void BM_QtViewBuildAndShow(benchmark::State& state) {
    EnsureApplication();
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<KesDlgFrame> panel = BuildPanel(count);
        state.ResumeTiming();
        {
            KesQtPanelView view(*panel);
            ShowAndSettle(*view.Widget());
        }
        state.PauseTiming();
        panel.reset();
        state.ResumeTiming();
    }
    state.counters["us_per_attribute"] = benchmark::Counter(
        static_cast<double>(count) * static_cast<double>(state.iterations()) / 1e6,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_QtViewBuildAndShow)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_QtDirectBuildAndShow(benchmark::State& state) {
    EnsureApplication();
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        std::unique_ptr<QScrollArea> direct = BuildDirect(count);
        ShowAndSettle(*direct);
    }
    state.counters["us_per_attribute"] = benchmark::Counter(
        static_cast<double>(count) * static_cast<double>(state.iterations()) / 1e6,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_QtDirectBuildAndShow)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// One value pushed by the caller into a real spinner of a shown 1,000-attribute panel, until
// its Qt spin box shows it (without the view: the toolkit alone, for comparison).
void AttributeChange(benchmark::State& state, bool withView) {
    EnsureApplication();
    std::unique_ptr<KesDlgFrame> panel = BuildPanel(1000);
    auto* attribute = dynamic_cast<KesMfgAttDouble*>(panel->GetChildFromChildNumber(1));
    std::unique_ptr<KesQtPanelView> view;
    QDoubleSpinBox* spinner = nullptr;
    if (withView) {
        view = std::make_unique<KesQtPanelView>(*panel);
        ShowAndSettle(*view->Widget());
        spinner = qobject_cast<QDoubleSpinBox*>(view->Find(*attribute->GetSpinnerWidget()));
        if (spinner == nullptr) {
            state.SkipWithError("the view shows no QDoubleSpinBox for a real spinner");
            return;
        }
    }
    double value = 1.0;
    for (auto _ : state) {
        value = value >= 40.0 ? 1.0 : value + 1.0;
        KesRawColldouble pushed{value};
        attribute->SetAttValue(nullptr, &pushed, nullptr, 0);
        if (spinner != nullptr && spinner->value() != value) {
            state.SkipWithError("the Qt spin box did not follow");
            break;
        }
    }
    view.reset(); // before the panel it mirrors
}
void BM_AttributeChangeReachesQt(benchmark::State& state) {
    AttributeChange(state, true);
}
void BM_AttributeChangeToolkitOnly(benchmark::State& state) {
    AttributeChange(state, false);
}
BENCHMARK(BM_AttributeChangeReachesQt)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AttributeChangeToolkitOnly)->Unit(benchmark::kMicrosecond);

} // namespace
