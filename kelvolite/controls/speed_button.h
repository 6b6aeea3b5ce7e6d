// TPSpeedButton: the image button of every window. A windowless button whose
// face is a picture of an image list, one per state; group-exclusive "down"
// buttons, hover tracking with enter/leave events in flat mode, and
// Default/Cancel buttons for Enter and Esc.
#pragma once
#include "kelvolite/forms/control.h"
#include "kelvolite/forms/image_list.h"

enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

class TPSpeedButton : public TGraphicControl {
public:
  TPSpeedButton();

  void SetAllowAllUp(bool value);
  bool AllowAllUp() const { return allowAllUp_; }
  void SetGroupIndex(int value);
  int GroupIndex() const { return groupIndex_; }
  void SetDown(bool value);
  bool Down() const { return down_; }
  void SetDrawBorderInFlatMode(bool value);
  void SetCaption(const std::string& caption) { caption_ = caption; }
  const std::string& Caption() const { return caption_; }
  void SetCancel(bool value) { cancel_ = value; }
  bool Cancel() const { return cancel_; }
  void SetDefault(bool value) { default_ = value; }
  bool Default() const { return default_; }
  void SetFlat(bool value);
  bool Flat() const { return flat_; }
  void SetImages(TImageList* images);
  void SetImageIndexIDLE(int index);
  void SetImageIndexDisabled(int index);
  void SetImageIndexUp(int index);
  void SetImageIndexDown(int index);
  int ImageIndexIDLE() const { return imageIdle_; }
  int ImageIndexDisabled() const { return imageDisabled_; }
  int ImageIndexUp() const { return imageUp_; }
  int ImageIndexDown() const { return imageDown_; }
  // Idle, hover and pressed pictures at once.
  void SetImageIndexes(int idle, int hover, int pressed);
  void SetSpacing(int value) { spacing_ = value; }
  int Spacing() const { return spacing_; }
  void SetTransparent(bool value);
  bool Transparent() const { return transparent_; }
  void SetColor(COLORREF color);

  TButtonState State() const { return state_; }
  bool MouseInControl() const { return mouseInControl_; }
  // The picture the face shows in the current state (-1: none).
  int FaceImageIndex() const;

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  void Paint(HDC dc) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void DblClick() override;
  void MouseEnter() override;
  void MouseLeave() override;
  void CancelMode() override;
  bool DialogKey(WORD key) override;
  bool DialogChar(char c) override;

protected:
  void EnabledChanged() override;

private:
  void SyncState();
  void UpdateTracking();
  // Tells the buttons of the same group that this one changed.
  void UpdateExclusive();
  void ButtonPressed(TPSpeedButton* sender);
  bool ParentCanFocus() const;

  bool allowAllUp_ = false;
  int groupIndex_ = 0;
  bool down_ = false;
  bool drawBorder_ = false;
  std::string caption_;
  bool cancel_ = false, default_ = false;
  bool flat_ = false;
  TImageList* images_ = nullptr;
  int imageIdle_ = -1, imageDisabled_ = -1, imageUp_ = -1, imageDown_ = -1;
  int spacing_ = 4;
  bool transparent_ = true;
  COLORREF color_ = GetSysColor(COLOR_BTNFACE);
  TButtonState state_ = bsUp;
  bool mouseInControl_ = false;
  bool dragging_ = false;
};
