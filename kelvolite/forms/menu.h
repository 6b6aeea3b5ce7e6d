// Pop-up menus: items with captions ("-" is a separator), hints, ticks,
// radio groups, small pictures and click handlers; OnPopup runs before the
// menu opens. The items are the form's members; the menu only lists them.
#pragma once
#include <vector>

#include "kelvolite/forms/graphics.h"
#include "kelvolite/forms/image_list.h"
#include "kelvolite/forms/types.h"

class TPopupMenu;

class TMenuItem : public TObject {
public:
  std::string Name;
  void SetCaption(const std::string& caption) { caption_ = caption; }
  const std::string& Caption() const { return caption_; }
  void SetHint(const std::string& hint) { hint_ = hint; }
  const std::string& Hint() const { return hint_; }
  // Ticking a radio item unticks the other items of its group.
  void SetChecked(bool checked);
  bool Checked() const { return checked_; }
  void SetRadioItem(bool radio, int groupIndex) {
    radio_ = radio;
    groupIndex_ = groupIndex;
  }
  bool RadioItem() const { return radio_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  bool Enabled() const { return enabled_; }
  // The item's small picture: picture `index` of `images`.
  void SetPicture(TImageList* images, int index) {
    images_ = images;
    imageIndex_ = index;
  }
  bool IsSeparator() const { return caption_ == "-"; }
  void Click() {
    if (OnClick) OnClick(this);
  }

  TNotifyEvent OnClick;

private:
  friend class TPopupMenu;
  TPopupMenu* menu_ = nullptr;
  std::string caption_, hint_;
  bool checked_ = false, radio_ = false, enabled_ = true;
  int groupIndex_ = 0;
  TImageList* images_ = nullptr;
  int imageIndex_ = -1;
};

class TPopupMenu : public TObject {
public:
  void Add(TMenuItem* item) {
    item->menu_ = this;
    items_.push_back(item);
  }
  const std::vector<TMenuItem*>& Items() const { return items_; }
  // Opens the menu at screen point (x, y); returns the chosen item (after
  // its OnClick has run) or nullptr.
  TMenuItem* Popup(int x, int y, HWND owner);

  TNotifyEvent OnPopup;

private:
  friend class TMenuItem;
  std::vector<TMenuItem*> items_;
};
