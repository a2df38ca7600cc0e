// The measures of the owner-drawn menu items, in pixels.
#pragma once

namespace navorix {

struct MenuItemSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const MenuItemSize&, const MenuItemSize&) = default;
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
// textWidth x textHeight in the menu font.
constexpr MenuItemSize measureMenuItem(int textWidth, int textHeight, bool submenuInDropDown) {
  return {textWidth + MenuItemExtraWidth + (submenuInDropDown ? SubmenuArrowWidth : 0),
          textHeight + MenuItemExtraHeight};
}

// The item's size on screen: the measured size with the check-mark column.
constexpr MenuItemSize shownMenuItem(int textWidth, int textHeight, bool submenuInDropDown) {
  const MenuItemSize measured = measureMenuItem(textWidth, textHeight, submenuInDropDown);
  return {measured.width + CheckColumnWidth, measured.height};
}

// Top of a check mark markHeight high, centred in an item itemHeight high.
constexpr int checkMarkTop(int itemHeight, int markHeight) { return (itemHeight - markHeight) / 2; }

}  // namespace navorix
