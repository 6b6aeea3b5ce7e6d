// A list view over SysListView32: icon, list and report views, check
// boxes, columns with automatic and minimum widths, large and small image
// lists, sorting by caption with lstrcmpA, item data and selection.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "kelvolite/forms/control.h"
#include "kelvolite/forms/image_list.h"

class TListView;

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum TSortType { stNone, stText };

class TListItem : public TObject {
public:
  explicit TListItem(TListView* owner) : owner_(owner) {}

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  // Sub-items are the texts of the columns after the first.
  void AddSubItem(const std::string& text);
  const std::vector<std::string>& SubItems() const { return subItems_; }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);
  // Row data; OwnData also makes the row own it (freed with the row).
  void* Data() const { return data_; }
  void SetData(void* data) { data_ = data; }
  void OwnData(std::unique_ptr<TObject> data) {
    data_ = data.get();
    ownedData_ = std::move(data);
  }
  bool Checked() const;
  void SetChecked(bool checked);
  bool Selected() const;
  void SetSelected(bool selected);
  void SetFocused();
  int Index() const;
  TListView* Owner() const { return owner_; }

private:
  TListView* owner_;
  std::string caption_;
  std::vector<std::string> subItems_;
  int imageIndex_ = -1;
  void* data_ = nullptr;
  std::unique_ptr<TObject> ownedData_;
};

using TSelectItemEvent = std::function<void(TObject* sender, TListItem* item, bool selected)>;

class TListView : public TWinControl {
public:
  ~TListView() override;

  void AddColumn(const std::string& caption, bool autoSize, int minWidth = 0, int width = 50);
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  int ColumnWidth(int index) const;

  TListItem* AddItem();
  int ItemCount() const;
  TListItem* Item(int index) const;
  void DeleteItem(TListItem* item);
  void Clear();
  void BeginUpdate();
  void EndUpdate();

  TListItem* Selected() const;
  int SelCount() const;

  void SetViewStyle(TViewStyle style);
  TViewStyle ViewStyle() const { return viewStyle_; }
  void SetCheckboxes(bool on);
  void SetRowSelect(bool on);
  void SetReadOnly(bool on) { readOnly_ = on; }
  void SetMultiSelect(bool on) { multiSelect_ = on; }
  void SetLargeImages(TImageList* list);
  void SetSmallImages(TImageList* list);
  void SetSortType(TSortType sort) { sortType_ = sort; }
  void SetColor(COLORREF color);
  void AlphaSort();

  TSelectItemEvent OnSelectItem;

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  bool Notify(NMHDR* nm, LRESULT& result) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
  friend class TListItem;
  struct Column {
    std::string caption;
    bool autoSize;
    int minWidth;
    int width;
  };
  void ItemChanged(TListItem* item);
  void ScheduleColumnSizing();
  void SizeColumns();

  std::vector<Column> columns_;
  std::vector<std::unique_ptr<TListItem>> items_;
  TViewStyle viewStyle_ = vsIcon;
  TSortType sortType_ = stNone;
  bool checkboxes_ = false, rowSelect_ = false, readOnly_ = true, multiSelect_ = false;
  TImageList* largeImages_ = nullptr;
  TImageList* smallImages_ = nullptr;
  int updateCount_ = 0;
  bool sizingPending_ = false;
};
