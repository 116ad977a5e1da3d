// KesPanelPicture: measuring and drawing the widget tree, and the text description.
#include "tools/KesPanelPicture.h"

#include "platform/KesDlgKindTraits.h"

#include "platform/KesDlgCombo.h"
#include "platform/KesDlgEditor.h"
#include "platform/KesDlgFrame.h"
#include "platform/KesDlgRadioButton.h"
#include "platform/KesDlgScrollBar.h"
#include "platform/KesDlgSelectorList.h"
#include "platform/KesDlgSpinner.h"

#include <algorithm>
#include <sstream>

namespace {

constexpr int kCharWidth = 8;  // pixels per character of text (a wide one, so labels fit)
constexpr int kRowHeight = 22; // height of one line of widgets
constexpr int kGap = 4;        // space between and around children

// Text made safe for XML: markup characters escaped, control characters dropped.
std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') {
                out.push_back(c);
            }
        }
    }
    return out;
}

int TextWidth(const KesUnicodeString& text) {
    return text.GetLengthInChar() * kCharWidth;
}

int FieldWidth(const KesDialog& widget) {
    const auto* field = dynamic_cast<const KesDlgTextField*>(&widget);
    const int characters =
        field && field->GetVisibleTextWidth() > 0 ? std::min(field->GetVisibleTextWidth(), 80) : 12;
    return characters * kCharWidth + 8;
}

// A push button shows its title, else the name of its icon in brackets.
KesUnicodeString ButtonText(const KesDialog& button) {
    if (!button.GetTitle().IsEmpty() || button.GetIconName().IsEmpty()) {
        return button.GetTitle();
    }
    return KesUnicodeString("[" + button.GetIconName().Str() + "]");
}

bool IsDrawn(const KesDialog& widget) {
    return widget.GetVisibility() == kes::kShown && KesDlgTraitsOf(widget.GetKind()).laidOut;
}

struct Size {
    int width = 0;
    int height = 0;
};

Size Measure(const KesDialog& widget) {
    switch (widget.GetKind()) {
    case KesDlgKind::Frame: {
        const auto& frame = static_cast<const KesDlgFrame&>(widget);
        const bool row = frame.GetDefaultOrientation() == kes::kRow;
        Size size{kGap, kGap};
        for (int i = 0; i < frame.GetChildCount(); ++i) {
            const KesDialog& child = *frame.GetChildFromChildNumber(i);
            if (!IsDrawn(child)) {
                continue;
            }
            const Size part = Measure(child);
            if (row) {
                size.width += part.width + kGap;
                size.height = std::max(size.height, part.height + 2 * kGap);
            } else {
                size.height += part.height + kGap;
                size.width = std::max(size.width, part.width + 2 * kGap);
            }
        }
        return size;
    }
    case KesDlgKind::Label:
        return {std::max(TextWidth(widget.GetTitle()), 8), kRowHeight};
    case KesDlgKind::Editor:
        return {FieldWidth(widget), kRowHeight};
    case KesDlgKind::Spinner:
    case KesDlgKind::Combo:
        return {FieldWidth(widget) + 16, kRowHeight};
    case KesDlgKind::CheckButton:
    case KesDlgKind::RadioButton:
        return {18 + TextWidth(widget.GetTitle()), kRowHeight};
    case KesDlgKind::PushButton:
        return {std::max(40, TextWidth(ButtonText(widget)) + 16), kRowHeight};
    case KesDlgKind::ScrollBar:
        return {16, kRowHeight}; // stretched to the height of its row when drawn
    case KesDlgKind::SelectorList: {
        const auto& list = static_cast<const KesDlgSelectorList&>(widget);
        const int lines = list.GetVisibleTextHeight() > 0 ? list.GetVisibleTextHeight()
                                                          : std::max(list.GetLineCount(), 1);
        return {FieldWidth(widget), std::min(lines, 40) * 18 + 4};
    }
    case KesDlgKind::ContextualMenu:
    case KesDlgKind::PushItem:
    case KesDlgKind::Dialog:
    case KesDlgKind::Count:
        break;
    }
    return {};
}

class Painter {
public:
    explicit Painter(std::ostringstream& svg) : svg_(svg) {}

    // `rowHeight`: the height of the row the widget stands in (scroll bars span it).
    void Paint(const KesDialog& widget, int x, int y, bool greyed, int rowHeight = 0) {
        greyed = greyed || !widget.IsSetSensitivity();
        Size size = Measure(widget);
        if (widget.GetKind() == KesDlgKind::ScrollBar) {
            size.height = std::max(size.height, rowHeight);
        }
        const char* ink = greyed ? "#9a9a9a" : "#1a1a1a";
        const char* paper = greyed ? "#ececec" : "#ffffff";
        switch (widget.GetKind()) {
        case KesDlgKind::Frame: {
            const auto& frame = static_cast<const KesDlgFrame&>(widget);
            svg_ << "<g class=\"frame\" id=\"" << Escape(widget.GetName().Str()) << "\">\n";
            const bool row = frame.GetDefaultOrientation() == kes::kRow;
            const int inner = size.height - 2 * kGap;
            int cx = x + kGap;
            int cy = y + kGap;
            for (int i = 0; i < frame.GetChildCount(); ++i) {
                const KesDialog& child = *frame.GetChildFromChildNumber(i);
                if (!IsDrawn(child)) {
                    continue;
                }
                Paint(child, cx, cy, greyed, row ? inner : 0);
                const Size part = Measure(child);
                (row ? cx : cy) += (row ? part.width : part.height) + kGap;
            }
            svg_ << "</g>\n";
            return;
        }
        case KesDlgKind::Label:
            Text(x, y, widget.GetTitle().Str(), ink);
            return;
        case KesDlgKind::Editor:
            Box(x, y, size.width, paper, ink);
            Text(x + 4, y, static_cast<const KesDlgEditor&>(widget).GetText().Str(), ink);
            return;
        case KesDlgKind::Spinner:
            Box(x, y, size.width, paper, ink);
            Text(x + 4, y, static_cast<const KesDlgSpinner&>(widget).GetText().Str(), ink);
            Text(x + size.width - 14, y, "\xE2\x87\x85", ink); // up-down arrows
            return;
        case KesDlgKind::Combo:
            Box(x, y, size.width, paper, ink);
            Text(x + 4, y, static_cast<const KesDlgCombo&>(widget).GetField().Str(), ink);
            Text(x + size.width - 14, y, "\xE2\x96\xBE", ink); // drop arrow
            return;
        case KesDlgKind::CheckButton:
        case KesDlgKind::RadioButton: {
            const bool on = static_cast<const KesDlgStateButton&>(widget).IsOn();
            const bool radio = widget.GetKind() == KesDlgKind::RadioButton;
            svg_ << "<" << (radio ? "circle cx=\"" : "rect x=\"") << (radio ? x + 7 : x + 1)
                 << (radio ? "\" cy=\"" : "\" y=\"") << (radio ? y + 11 : y + 5)
                 << (radio ? "\" r=\"6\"" : "\" width=\"12\" height=\"12\"") << " fill=\""
                 << (on ? ink : paper) << "\" stroke=\"" << ink << "\" class=\""
                 << (on ? "on" : "off") << "\"/>\n";
            Text(x + 18, y, widget.GetTitle().Str(), ink);
            return;
        }
        case KesDlgKind::PushButton:
            svg_ << "<rect x=\"" << x << "\" y=\"" << y + 1 << "\" width=\"" << size.width
                 << "\" height=\"" << kRowHeight - 2 << "\" rx=\"4\" fill=\"#dde3ea\" stroke=\""
                 << ink << "\"/>\n";
            Text(x + 8, y, ButtonText(widget).Str(), ink);
            return;
        case KesDlgKind::ScrollBar: {
            const auto& bar = static_cast<const KesDlgScrollBar&>(widget);
            const double span = std::max(1, bar.GetScrollMaximum() - bar.GetScrollMinimum());
            const double start = (bar.GetScrollPos() - bar.GetScrollMinimum()) / span;
            const double box = std::min(1.0, bar.GetScrollBoxSize() / span);
            svg_ << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"16\" height=\""
                 << size.height << "\" fill=\"" << paper << "\" stroke=\"" << ink << "\"/>\n"
                 << "<rect class=\"scrollbox\" x=\"" << x + 2 << "\" y=\""
                 << y + static_cast<int>(start * size.height) << "\" width=\"12\" height=\""
                 << std::max(4, static_cast<int>(box * size.height)) << "\" fill=\"" << ink
                 << "\" data-position=\"" << bar.GetScrollPos() << "\"/>\n";
            return;
        }
        case KesDlgKind::SelectorList: {
            const auto& list = static_cast<const KesDlgSelectorList&>(widget);
            svg_ << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << size.width
                 << "\" height=\"" << size.height << "\" fill=\"" << paper << "\" stroke=\"" << ink
                 << "\"/>\n";
            const int lines = std::min(list.GetLineCount(), (size.height - 4) / 18);
            for (int row = 0; row < lines; ++row) {
                if (list.IsSelected(row)) {
                    svg_ << "<rect class=\"selected\" x=\"" << x + 1 << "\" y=\""
                         << y + 2 + row * 18 << "\" width=\"" << size.width - 2
                         << "\" height=\"18\" fill=\"#b9d3f0\"/>\n";
                }
                Text(x + 4, y + row * 18 - 1, list.GetLine(row).Str(), ink);
            }
            return;
        }
        case KesDlgKind::ContextualMenu:
        case KesDlgKind::PushItem:
        case KesDlgKind::Dialog:
        case KesDlgKind::Count:
            return;
        }
    }

private:
    void Box(int x, int y, int width, const char* paper, const char* ink) {
        svg_ << "<rect x=\"" << x << "\" y=\"" << y + 1 << "\" width=\"" << width << "\" height=\""
             << kRowHeight - 2 << "\" fill=\"" << paper << "\" stroke=\"" << ink << "\"/>\n";
    }
    void Text(int x, int y, const std::string& text, const char* ink) {
        if (text.empty()) {
            return;
        }
        svg_ << "<text x=\"" << x << "\" y=\"" << y + 15 << "\" fill=\"" << ink << "\">"
             << Escape(text) << "</text>\n";
    }

    std::ostringstream& svg_;
};

const char* KindName(KesDlgKind kind) {
    return KesDlgTraitsOf(kind).name;
}

void DescribeInto(std::ostringstream& out, const KesDialog& widget, const std::string& indent) {
    out << indent << KindName(widget.GetKind()) << ' ' << widget.GetName().Str();
    if (!widget.GetTitle().IsEmpty()) {
        out << " \"" << widget.GetTitle().Str() << '"';
    }
    switch (widget.GetKind()) {
    case KesDlgKind::Editor:
        out << " text=\"" << static_cast<const KesDlgEditor&>(widget).GetText().Str() << '"';
        break;
    case KesDlgKind::Spinner: {
        const auto& spinner = static_cast<const KesDlgSpinner&>(widget);
        const std::string shown = spinner.GetText().Str();
        out << " value=" << shown.substr(std::min(shown.find_first_not_of(' '), shown.size()));
        if (spinner.HasRange()) {
            out << " range=" << spinner.GetMinimum() << ".." << spinner.GetMaximum()
                << " step=" << spinner.GetStep();
        }
        break;
    }
    case KesDlgKind::Combo: {
        const auto& combo = static_cast<const KesDlgCombo&>(widget);
        out << " field=\"" << combo.GetField().Str() << "\" row=" << combo.GetSelect() + 1
            << " lines=";
        for (int i = 0; i < combo.GetLineCount(); ++i) {
            out << (i == 0 ? "" : "|") << combo.GetLine(i).Str();
        }
        break;
    }
    case KesDlgKind::CheckButton:
    case KesDlgKind::RadioButton:
        out << (static_cast<const KesDlgStateButton&>(widget).IsOn() ? " on" : " off");
        break;
    case KesDlgKind::ScrollBar: {
        const auto& bar = static_cast<const KesDlgScrollBar&>(widget);
        out << " position=" << bar.GetScrollPos() << " range=" << bar.GetScrollMinimum() << ".."
            << bar.GetScrollMaximum() << " box=" << bar.GetScrollBoxSize();
        break;
    }
    case KesDlgKind::SelectorList: {
        const auto& list = static_cast<const KesDlgSelectorList&>(widget);
        out << " selected=";
        const std::vector<int> rows = list.GetSelectedRows();
        for (size_t i = 0; i < rows.size(); ++i) {
            out << (i == 0 ? "" : "|") << list.GetLine(rows[i]).Str();
        }
        break;
    }
    case KesDlgKind::Frame:
    case KesDlgKind::Label:
    case KesDlgKind::PushButton:
    case KesDlgKind::ContextualMenu:
    case KesDlgKind::PushItem:
    case KesDlgKind::Dialog:
    case KesDlgKind::Count:
        break;
    }
    if (KesPanelPicture::IsGreyed(widget)) {
        out << " (insensitive)";
    }
    if (widget.GetVisibility() != kes::kShown) {
        out << " (hidden)";
    }
    out << '\n';
    for (int i = 0; i < widget.GetChildCount(); ++i) {
        DescribeInto(out, *widget.GetChildFromChildNumber(i), indent + "  ");
    }
}

} // namespace

std::string KesPanelPicture::Draw(const KesDialog& root) {
    const Size size = IsDrawn(root) ? Measure(root) : Size{};
    std::ostringstream svg;
    svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << size.width + 2 << "\" height=\""
        << size.height + 2 << "\" font-family=\"sans-serif\" font-size=\"12\">\n"
        << "<rect width=\"100%\" height=\"100%\" fill=\"#f4f5f7\"/>\n";
    if (IsDrawn(root)) {
        Painter(svg).Paint(root, 1, 1, false);
    }
    svg << "</svg>\n";
    return svg.str();
}

std::string KesPanelPicture::Describe(const KesDialog& root, const std::string& indent) {
    std::ostringstream out;
    for (int i = 0; i < root.GetChildCount(); ++i) {
        DescribeInto(out, *root.GetChildFromChildNumber(i), indent);
    }
    return out.str();
}

bool KesPanelPicture::IsGreyed(const KesDialog& widget) {
    for (const KesDialog* up = &widget; up != nullptr; up = up->GetParent()) {
        if (!up->IsSetSensitivity()) {
            return true;
        }
        if (up->GetKind() == KesDlgKind::Dialog) {
            return false; // a dialog window is a window of its own
        }
    }
    return false;
}
