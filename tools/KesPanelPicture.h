// KesPanelPicture: a panel as it stands, drawn as an SVG picture or described as text.
//
// The picture lays the widget tree out as the toolkit does: a frame stacks its children in a
// column (orientation 0) or a row (orientation 1), in creation order. It shows labels, fields
// with their texts, spinners, combos with their field, check and radio buttons in their
// states, selector lists with their selected lines and scroll bars at their positions.
// Insensitive widgets (or widgets under an insensitive frame) are greyed; hidden widgets, menus
// (which only open on demand) and dialog windows (which are windows of their own) are left out.
#pragma once

#include "platform/KesDialog.h"

#include <string>

class KesPanelPicture {
public:
    // An SVG document of `root` and everything shown under it.
    static std::string Draw(const KesDialog& root);
    // One line per widget under `root` (not `root` itself), indented by depth, with its state;
    // a greyed widget is marked "(insensitive)", whatever made it so.
    static std::string Describe(const KesDialog& root, const std::string& indent);
    // True when a window greys `widget`: it or a widget above it, up to its dialog window, is
    // insensitive.
    static bool IsGreyed(const KesDialog& widget);
};
