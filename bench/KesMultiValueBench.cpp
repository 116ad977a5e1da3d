// Multi-value attributes at 1,000 and 1,000,000 values: scrolling, an edit of one field, Add and
// Remove cost the same whatever the length of the list (apart from the integer list's
// "tempoval[" lines, one per value on each edit); SetAttValue and Output are linear.
//
// Standard output goes to a null buffer while the benchmarks run, so that the lines the edits
// write cost their formatting but no terminal. The integer edit is measured twice: with its
// lines formatted into the null buffer, and with std::cout refusing output (the lines cost only
// the loop over the values), to show the rest of the edit apart.
#include "multi/KesMfgAttMVChar.h"
#include "multi/KesMfgAttMVCharList.h"
#include "multi/KesMfgAttMVDouble.h"
#include "multi/KesMfgAttMVInt.h"
#include "multi/KesMfgAttMVLogic.h"
#include "platform/KesDlgFrame.h"

#include <benchmark/benchmark.h>

#include <iostream>
#include <memory>
#include <string>

namespace {

// A text made of a prefix and a number (appended, not concatenated: GCC 12 warns wrongly about
// operator+ on a literal and a temporary at -O3).
KesUnicodeString Numbered(const char* prefix, int number) {
    std::string text = prefix;
    text.append(std::to_string(number));
    return KesUnicodeString(text);
}

class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

// Sends std::cout to a null buffer, or, with `refuse`, makes it refuse every output.
class QuietStdout {
public:
    explicit QuietStdout(bool refuse = false) : previous_(std::cout.rdbuf(&buffer_)) {
        if (refuse) {
            std::cout.setstate(std::ios::badbit);
        }
    }
    ~QuietStdout() {
        std::cout.clear();
        std::cout.rdbuf(previous_);
    }

private:
    NullBuffer buffer_;
    std::streambuf* previous_;
};

// ---------------------------------------------------------------------------------------------
// The four windowed lists
// ---------------------------------------------------------------------------------------------
struct IntList {
    using Attribute = KesMfgAttMVInt;
    static Attribute* Make(KesDlgFrame* frame, int count) {
        KesRawCollint values;
        for (int i = 0; i < count; ++i) {
            values.Append(i % 1000);
        }
        return new Attribute("NbPasses", "Passes", values, 0, 1000, 0, frame, 1);
    }
    static void Edit(KesDialog* field, long long i) {
        static_cast<KesDlgSpinner*>(field)->UserSetValue(static_cast<double>(i % 2));
    }
    static void Push(Attribute& attribute, int count) {
        KesRawCollint values;
        values.Size(count, 3);
        attribute.SetAttValue(&values, nullptr, nullptr, 0);
    }
};

struct DoubleList {
    using Attribute = KesMfgAttMVDouble;
    static Attribute* Make(KesDlgFrame* frame, int count) {
        KesRawColldouble values;
        for (int i = 0; i < count; ++i) {
            values.Append(0.5 * (i % 1000));
        }
        return new Attribute("Depths", "Depths", values, 0.0, 1000.0, 0.0, 0, 0, -1, frame, 1, 0);
    }
    static void Edit(KesDialog* field, long long i) {
        static_cast<KesDlgSpinner*>(field)->UserSetValue(0.25 * static_cast<double>(i % 2));
    }
    static void Push(Attribute& attribute, int count) {
        KesRawColldouble values;
        values.Size(count, 90.0);
        attribute.SetAttValue(nullptr, &values, nullptr, 0);
    }
};

struct CharList {
    using Attribute = KesMfgAttMVChar;
    static Attribute* Make(KesDlgFrame* frame, int count) {
        KesListValKesUnicodeString values;
        for (int i = 0; i < count; ++i) {
            values.Append(Numbered("text ", i % 1000));
        }
        return new Attribute("Notes", "Notes", values, "new", frame, 1);
    }
    static void Edit(KesDialog* field, long long i) {
        static_cast<KesDlgEditor*>(field)->UserType(i % 2 == 0 ? "even" : "odd");
    }
    static void Push(Attribute& attribute, int count) {
        KesListValKesUnicodeString values;
        values.Size(count, KesUnicodeString("pushed"));
        attribute.SetAttValue(nullptr, nullptr, &values, 0);
    }
};

struct LogicList {
    using Attribute = KesMfgAttMVLogic;
    static Attribute* Make(KesDlgFrame* frame, int count) {
        KesRawCollint values;
        for (int i = 0; i < count; ++i) {
            values.Append((i % 7) * (i % 7) % 7 < 3 ? 1 : 0);
        }
        return new Attribute("Passes", "Passes", values, 0, frame, 1, 0, nullptr);
    }
    static void Edit(KesDialog* field, long long) {
        static_cast<KesDlgCheckButton*>(field)->UserClick();
    }
    static void Push(Attribute& attribute, int count) {
        KesRawCollint values;
        values.Size(count, 1);
        attribute.SetAttValue(&values, nullptr, nullptr, 0);
    }
};

// A displayed list of state.range(0) values in a frame of its own.
template <class List> struct Panel {
    explicit Panel(int count) : attribute(List::Make(&frame, count)) { attribute->Display(); }
    const auto& Values() const { return attribute->GetValueList(); }
    KesDialog* Field(int i) const { return Values().GetValueFields()[i]; }

    KesDlgFrame frame{nullptr, "Panel"}; // records nothing: notifications end here
    typename List::Attribute* attribute;
};

template <class List> void Scroll(benchmark::State& state) {
    QuietStdout quiet;
    Panel<List> panel(static_cast<int>(state.range(0)));
    KesDlgScrollBar* bar = panel.Values().GetValueScrollBar();
    // About halfway, at the same place in the boolean samples' period of 7 whatever the length,
    // so that as many buttons change (three) at both lengths.
    const int far = static_cast<int>(state.range(0)) / 2 / 7 * 7 + 1;
    long long i = 0;
    for (auto _ : state) {
        bar->UserScroll(++i % 2 == 0 ? 0 : far);
    }
}

template <class List> void EditOneField(benchmark::State& state) {
    QuietStdout quiet;
    Panel<List> panel(static_cast<int>(state.range(0)));
    KesDialog* field = panel.Field(2);
    long long i = 0;
    for (auto _ : state) {
        List::Edit(field, ++i);
    }
}

// The integer edit with std::cout refusing output: the "tempoval[" lines cost only their loop.
void EditOneFieldIntLinesRefused(benchmark::State& state) {
    QuietStdout quiet(true);
    Panel<IntList> panel(static_cast<int>(state.range(0)));
    KesDialog* field = panel.Field(2);
    long long i = 0;
    for (auto _ : state) {
        IntList::Edit(field, ++i);
    }
}

// Add (or Remove) once an iteration; every 100 iterations the list is brought back to its
// length outside the measurement.
template <class List, bool kAdd> void AddOrRemove(benchmark::State& state) {
    QuietStdout quiet;
    Panel<List> panel(static_cast<int>(state.range(0)));
    KesDlgPushItem* item = kAdd ? panel.Values().GetAddItem() : panel.Values().GetRemoveItem();
    long long i = 0;
    for (auto _ : state) {
        item->UserActivate();
        if (++i % 100 == 0) {
            state.PauseTiming();
            for (int k = 0; k < 100; ++k) {
                if (kAdd) {
                    panel.attribute->RemoveValue(nullptr, nullptr, nullptr);
                } else {
                    panel.attribute->AddValue(nullptr, nullptr, nullptr);
                }
            }
            state.ResumeTiming();
        }
    }
}
template <class List> void Add(benchmark::State& state) {
    AddOrRemove<List, true>(state);
}
template <class List> void Remove(benchmark::State& state) {
    AddOrRemove<List, false>(state);
}

template <class List> void SetAttValue(benchmark::State& state) {
    QuietStdout quiet;
    const int count = static_cast<int>(state.range(0));
    Panel<List> panel(count);
    for (auto _ : state) {
        List::Push(*panel.attribute, count);
    }
}

template <class List> void Output(benchmark::State& state) {
    QuietStdout quiet;
    const int count = static_cast<int>(state.range(0));
    Panel<List> panel(count);
    List::Edit(panel.Field(1), 1); // a changed list is reported
    for (auto _ : state) {
        KesListValKesUnicodeString names;
        KesRawCollint typeCodes, counts, ints;
        KesRawColldouble reals;
        KesListValKesUnicodeString texts;
        panel.attribute->Output(1, &names, &typeCodes, &counts, &ints, &reals, &texts);
        benchmark::DoNotOptimize(counts);
    }
}

// ---------------------------------------------------------------------------------------------
// The multiple selection: 1,000 allowed texts, lists of values of the given length
// ---------------------------------------------------------------------------------------------
struct SelectionPanel {
    explicit SelectionPanel(int count) {
        KesListValKesUnicodeString allowed;
        KesListValKesUnicodeString values;
        for (int i = 0; i < 1000; ++i) {
            allowed.Append(Numbered("s", i));
        }
        for (int i = 0; i < count; ++i) {
            values.Append(allowed[i % 1000 + 1]);
        }
        attribute = new KesMfgAttMVCharList("Strategies", "Strategies", values, allowed, allowed,
                                            "", &frame, 1);
        attribute->Display();
    }
    KesDlgFrame frame{nullptr, "Panel"};
    KesMfgAttMVCharList* attribute;
};

void SelectionUserSelect(benchmark::State& state) {
    QuietStdout quiet;
    SelectionPanel panel(static_cast<int>(state.range(0)));
    const int rows[] = {3, 7, 11};
    long long i = 0;
    for (auto _ : state) {
        panel.attribute->GetSelectorList()->UserSelect(rows, ++i % 2 == 0 ? 3 : 1);
    }
}

void SelectionSetAttValue(benchmark::State& state) {
    QuietStdout quiet;
    const int count = static_cast<int>(state.range(0));
    SelectionPanel panel(count);
    KesListValKesUnicodeString values;
    for (int i = 0; i < count; ++i) {
        values.Append(Numbered("s", (i * 7) % 1000));
    }
    for (auto _ : state) {
        panel.attribute->SetAttValue(nullptr, nullptr, &values, 0);
    }
}

void SelectionOutput(benchmark::State& state) {
    QuietStdout quiet;
    SelectionPanel panel(static_cast<int>(state.range(0)));
    const int row = 5;
    panel.attribute->GetSelectorList()->UserSelect(&row, 1);
    KesListValKesUnicodeString values;
    values.Size(static_cast<int>(state.range(0)), KesUnicodeString("s5"));
    panel.attribute->SetAttValue(nullptr, nullptr, &values, 0);
    for (auto _ : state) {
        KesListValKesUnicodeString names, texts;
        KesRawCollint typeCodes, counts;
        panel.attribute->Output(1, &names, &typeCodes, &counts, nullptr, nullptr, &texts);
        benchmark::DoNotOptimize(counts);
    }
}

#define KES_MULTI_VALUE_BENCH(name)                                                                \
    BENCHMARK(name)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond)

KES_MULTI_VALUE_BENCH(Scroll<IntList>);
KES_MULTI_VALUE_BENCH(Scroll<DoubleList>);
KES_MULTI_VALUE_BENCH(Scroll<CharList>);
KES_MULTI_VALUE_BENCH(Scroll<LogicList>);
KES_MULTI_VALUE_BENCH(EditOneField<IntList>);
KES_MULTI_VALUE_BENCH(EditOneFieldIntLinesRefused);
KES_MULTI_VALUE_BENCH(EditOneField<DoubleList>);
KES_MULTI_VALUE_BENCH(EditOneField<CharList>);
KES_MULTI_VALUE_BENCH(EditOneField<LogicList>);
KES_MULTI_VALUE_BENCH(Add<IntList>);
KES_MULTI_VALUE_BENCH(Add<DoubleList>);
KES_MULTI_VALUE_BENCH(Add<CharList>);
KES_MULTI_VALUE_BENCH(Add<LogicList>);
KES_MULTI_VALUE_BENCH(Remove<IntList>);
KES_MULTI_VALUE_BENCH(Remove<DoubleList>);
KES_MULTI_VALUE_BENCH(Remove<CharList>);
KES_MULTI_VALUE_BENCH(Remove<LogicList>);
KES_MULTI_VALUE_BENCH(SetAttValue<IntList>);
KES_MULTI_VALUE_BENCH(SetAttValue<DoubleList>);
KES_MULTI_VALUE_BENCH(SetAttValue<CharList>);
KES_MULTI_VALUE_BENCH(SetAttValue<LogicList>);
KES_MULTI_VALUE_BENCH(Output<IntList>);
KES_MULTI_VALUE_BENCH(Output<DoubleList>);
KES_MULTI_VALUE_BENCH(Output<CharList>);
KES_MULTI_VALUE_BENCH(Output<LogicList>);
KES_MULTI_VALUE_BENCH(SelectionUserSelect);
KES_MULTI_VALUE_BENCH(SelectionSetAttValue);
KES_MULTI_VALUE_BENCH(SelectionOutput);

} // namespace
