#include "kelvolite/forms/list_view.h"

#include <algorithm>

namespace {

const UINT kSizeColumns = WM_APP + 0x101;

DWORD StyleBits(TViewStyle v) {
  switch (v) {
    case vsSmallIcon: return LVS_SMALLICON;
    case vsList: return LVS_LIST;
    case vsReport: return LVS_REPORT;
    default: return LVS_ICON;
  }
}

int CALLBACK CompareCaptions(LPARAM a, LPARAM b, LPARAM) {
  return lstrcmpA(reinterpret_cast<TListItem*>(a)->Caption().c_str(),
                  reinterpret_cast<TListItem*>(b)->Caption().c_str());
}

}  // namespace

// --------------------------------------------------------------- TListItem

int TListItem::Index() const {
  HWND h = owner_->Handle();
  if (!h) return -1;
  LVFINDINFOA fi = {};
  fi.flags = LVFI_PARAM;
  fi.lParam = reinterpret_cast<LPARAM>(this);
  return static_cast<int>(SendMessageA(h, LVM_FINDITEMA, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(&fi)));
}

void TListItem::SetCaption(const std::string& caption) {
  caption_ = caption;
  int i = Index();
  if (i >= 0) {
    LVITEMA it = {};
    it.iSubItem = 0;
    it.pszText = const_cast<char*>(caption_.c_str());
    SendMessageA(owner_->Handle(), LVM_SETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
  }
  owner_->ItemChanged(this);
}

void TListItem::AddSubItem(const std::string& text) {
  subItems_.push_back(text);
  int i = Index();
  if (i >= 0) {
    LVITEMA it = {};
    it.iSubItem = static_cast<int>(subItems_.size());
    it.pszText = const_cast<char*>(subItems_.back().c_str());
    SendMessageA(owner_->Handle(), LVM_SETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
  }
  owner_->ScheduleColumnSizing();
}

void TListItem::SetImageIndex(int index) {
  imageIndex_ = index;
  int i = Index();
  if (i < 0) return;
  LVITEMA it = {};
  it.mask = LVIF_IMAGE;
  it.iItem = i;
  it.iImage = index;
  SendMessageA(owner_->Handle(), LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it));
}

bool TListItem::Checked() const {
  int i = Index();
  if (i < 0) return false;
  UINT state = static_cast<UINT>(
      SendMessageA(owner_->Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_STATEIMAGEMASK));
  return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

void TListItem::SetChecked(bool checked) {
  int i = Index();
  if (i < 0) return;
  LVITEMA it = {};
  it.stateMask = LVIS_STATEIMAGEMASK;
  it.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  SendMessageA(owner_->Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
}

bool TListItem::Selected() const {
  int i = Index();
  return i >= 0 && (SendMessageA(owner_->Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_SELECTED) &
                    LVIS_SELECTED);
}

void TListItem::SetSelected(bool selected) {
  int i = Index();
  if (i < 0) return;
  LVITEMA it = {};
  it.stateMask = LVIS_SELECTED;
  it.state = selected ? LVIS_SELECTED : 0;
  SendMessageA(owner_->Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
}

void TListItem::SetFocused() {
  int i = Index();
  if (i < 0) return;
  LVITEMA it = {};
  it.stateMask = LVIS_FOCUSED;
  it.state = LVIS_FOCUSED;
  SendMessageA(owner_->Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
  SendMessageA(owner_->Handle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(i), FALSE);
}

// --------------------------------------------------------------- TListView

TListView::~TListView() {
  // The rows go with the window; their data must not outlive it.
  DestroyHandle();
}

void TListView::CreateParams(TCreateParams& params) {
  params.ClassName = WC_LISTVIEWA;
  params.StandardClass = true;
  params.Style = WS_TABSTOP | LVS_SHAREIMAGELISTS | LVS_SHOWSELALWAYS | LVS_AUTOARRANGE | StyleBits(viewStyle_);
  if (!multiSelect_) params.Style |= LVS_SINGLESEL;
  if (!readOnly_) params.Style |= LVS_EDITLABELS;
  params.ExStyle = WS_EX_CLIENTEDGE;
}

void TListView::HandleCreated() {
  DWORD ex = 0;
  if (checkboxes_) ex |= LVS_EX_CHECKBOXES;
  if (rowSelect_) ex |= LVS_EX_FULLROWSELECT;
  SendMessageA(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT, ex);
  SetColor(color_);
  if (largeImages_) SetLargeImages(largeImages_);
  if (smallImages_) SetSmallImages(smallImages_);
  for (size_t i = 0; i < columns_.size(); ++i) {
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    col.pszText = const_cast<char*>(columns_[i].caption.c_str());
    col.cx = std::max(columns_[i].width, columns_[i].minWidth);
    col.iSubItem = static_cast<int>(i);
    SendMessageA(hwnd_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&col));
  }
}

void TListView::AddColumn(const std::string& caption, bool autoSize, int minWidth, int width) {
  columns_.push_back({caption, autoSize, minWidth, width});
  if (!hwnd_) return;
  size_t i = columns_.size() - 1;
  LVCOLUMNA col = {};
  col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  col.pszText = const_cast<char*>(columns_[i].caption.c_str());
  col.cx = std::max(width, minWidth);
  col.iSubItem = static_cast<int>(i);
  SendMessageA(hwnd_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&col));
  ScheduleColumnSizing();
}

int TListView::ColumnWidth(int index) const {
  return hwnd_ ? static_cast<int>(SendMessageA(hwnd_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(index), 0)) : 0;
}

TListItem* TListView::AddItem() {
  items_.push_back(std::make_unique<TListItem>(this));
  TListItem* item = items_.back().get();
  if (hwnd_) {
    LVITEMA it = {};
    it.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    it.iItem = ItemCount();
    it.pszText = const_cast<char*>("");
    it.iImage = -1;
    it.lParam = reinterpret_cast<LPARAM>(item);
    SendMessageA(hwnd_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it));
    if (checkboxes_) item->SetChecked(false);
  }
  return item;
}

int TListView::ItemCount() const {
  return hwnd_ ? static_cast<int>(SendMessageA(hwnd_, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

TListItem* TListView::Item(int index) const {
  if (!hwnd_ || index < 0 || index >= ItemCount()) return nullptr;
  LVITEMA it = {};
  it.mask = LVIF_PARAM;
  it.iItem = index;
  SendMessageA(hwnd_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
  return reinterpret_cast<TListItem*>(it.lParam);
}

void TListView::DeleteItem(TListItem* item) {
  int i = item->Index();
  if (i >= 0) SendMessageA(hwnd_, LVM_DELETEITEM, static_cast<WPARAM>(i), 0);
  items_.erase(std::remove_if(items_.begin(), items_.end(),
                              [item](const std::unique_ptr<TListItem>& p) { return p.get() == item; }),
               items_.end());
}

void TListView::Clear() {
  if (hwnd_) SendMessageA(hwnd_, LVM_DELETEALLITEMS, 0, 0);
  items_.clear();
}

void TListView::BeginUpdate() {
  if (updateCount_++ == 0 && hwnd_) SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
}

void TListView::EndUpdate() {
  if (updateCount_ == 0 || --updateCount_ > 0) return;
  if (sortType_ == stText) AlphaSort();
  SizeColumns();
  if (hwnd_) {
    SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
  }
}

TListItem* TListView::Selected() const {
  if (!hwnd_) return nullptr;
  int i = static_cast<int>(SendMessageA(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  return Item(i);
}

int TListView::SelCount() const {
  return hwnd_ ? static_cast<int>(SendMessageA(hwnd_, LVM_GETSELECTEDCOUNT, 0, 0)) : 0;
}

void TListView::SetViewStyle(TViewStyle style) {
  viewStyle_ = style;
  if (!hwnd_) return;
  LONG_PTR s = GetWindowLongPtrA(hwnd_, GWL_STYLE);
  SetWindowLongPtrA(hwnd_, GWL_STYLE, (s & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | StyleBits(style));
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void TListView::SetCheckboxes(bool on) {
  checkboxes_ = on;
  if (hwnd_)
    SendMessageA(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, on ? LVS_EX_CHECKBOXES : 0);
}

void TListView::SetRowSelect(bool on) {
  rowSelect_ = on;
  if (hwnd_)
    SendMessageA(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, on ? LVS_EX_FULLROWSELECT : 0);
}

void TListView::SetLargeImages(TImageList* list) {
  largeImages_ = list;
  if (hwnd_ && list)
    SendMessageA(hwnd_, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(list->Handle()));
}

void TListView::SetSmallImages(TImageList* list) {
  smallImages_ = list;
  if (hwnd_ && list)
    SendMessageA(hwnd_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(list->Handle()));
}

void TListView::SetColor(COLORREF color) {
  color_ = color;
  if (!hwnd_) return;
  SendMessageA(hwnd_, LVM_SETBKCOLOR, 0, color);
  SendMessageA(hwnd_, LVM_SETTEXTBKCOLOR, 0, color);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void TListView::AlphaSort() {
  if (hwnd_) SendMessageA(hwnd_, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(&CompareCaptions));
}

void TListView::ItemChanged(TListItem*) {
  if (updateCount_ > 0) return;
  if (sortType_ == stText) AlphaSort();
  ScheduleColumnSizing();
}

void TListView::ScheduleColumnSizing() {
  if (sizingPending_ || !hwnd_ || updateCount_ > 0) return;
  sizingPending_ = true;
  PostMessageA(hwnd_, kSizeColumns, 0, 0);
}

void TListView::SizeColumns() {
  sizingPending_ = false;
  if (!hwnd_) return;
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (!columns_[i].autoSize) continue;
    SendMessageA(hwnd_, LVM_SETCOLUMNWIDTH, i, MAKELPARAM(LVSCW_AUTOSIZE_USEHEADER, 0));
    if (ColumnWidth(static_cast<int>(i)) < columns_[i].minWidth)
      SendMessageA(hwnd_, LVM_SETCOLUMNWIDTH, i, MAKELPARAM(columns_[i].minWidth, 0));
  }
}

LRESULT TListView::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kSizeColumns) {
    SizeColumns();
    return 0;
  }
  return TWinControl::WndProc(msg, wp, lp);
}

bool TListView::Notify(NMHDR* nm, LRESULT& result) {
  switch (nm->code) {
    case LVN_ITEMCHANGED: {
      auto* nv = reinterpret_cast<NMLISTVIEW*>(nm);
      if ((nv->uChanged & LVIF_STATE) && ((nv->uOldState ^ nv->uNewState) & LVIS_SELECTED) &&
          OnSelectItem && nv->iItem >= 0)
        OnSelectItem(this, reinterpret_cast<TListItem*>(nv->lParam), (nv->uNewState & LVIS_SELECTED) != 0);
      return false;
    }
    case LVN_DELETEALLITEMS:
      result = TRUE;  // no LVN_DELETEITEM per row
      return true;
    case NM_DBLCLK:
      DblClick();
      return false;
    case LVN_BEGINLABELEDITA:
      result = readOnly_ ? TRUE : FALSE;
      return true;
    default:
      return false;
  }
}
