// The measures of the owner-drawn menu items, in pixels.
#pragma once

namespace navorix {

struct TMenuItemSize {
  int Width = 0;
  int Height = 0;
  friend bool operator==(const TMenuItemSize&, const TMenuItemSize&) = default;
};

// Room around the caption, and the room for the arrow of an item that opens
// a submenu inside a drop-down menu.
inline constexpr int MenuItemExtraWidth = 8;
inline constexpr int MenuItemExtraHeight = 6;
inline constexpr int SubmenuArrowWidth = 16;
// Where the check mark and the caption are drawn inside the item.
inline constexpr int CheckMarkLeft = 2;
inline constexpr int CaptionLeft = 12;
inline constexpr int CaptionTop = 2;
// The check-mark column that the window system adds in front of every
// measured item; the caption at CaptionLeft sits just after it.
inline constexpr int CheckColumnWidth = 12;
inline constexpr int MenuSeparatorHeight = 8;

// The measured size of an item whose caption (without the "&") is
// TextWidth x TextHeight in the menu font.
constexpr TMenuItemSize MeasureMenuItem(int TextWidth, int TextHeight, bool SubmenuInDropDown) {
  return {TextWidth + MenuItemExtraWidth + (SubmenuInDropDown ? SubmenuArrowWidth : 0),
          TextHeight + MenuItemExtraHeight};
}

// The item's size on screen: the measured size with the check-mark column.
constexpr TMenuItemSize ShownMenuItem(int TextWidth, int TextHeight, bool SubmenuInDropDown) {
  const TMenuItemSize measured = MeasureMenuItem(TextWidth, TextHeight, SubmenuInDropDown);
  return {measured.Width + CheckColumnWidth, measured.Height};
}

// Top of a check mark MarkHeight high, centred in an item ItemHeight high.
constexpr int CheckMarkTop(int ItemHeight, int MarkHeight) { return (ItemHeight - MarkHeight) / 2; }

}  // namespace navorix
