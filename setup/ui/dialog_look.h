// The fixed look of setup's dialogs and property pages: a set of five fonts
// made from the dialog's own font, and the colours and brushes that the
// control style ids select (control_style_ids.h).
#pragma once
#include <windows.h>

#include "setup/ui/control_style_ids.h"
#include "setup/ui/gdi_handles.h"

class DialogFontSet {
 public:
  // Builds the set from the dialog's font (WM_GETFONT; the system font when
  // the dialog has none).
  void Create(HWND dialog);
  void Delete();
  bool created() const { return dialogFont_ != nullptr; }

  // title, bold, normal, the dialog font itself (not owned), underlined.
  HFONT Get(ControlStyleIds::Font font) const;
  HFONT Underlined() const { return underlined_.get(); }

 private:
  FontHandle title_, bold_, normal_, underlined_;
  HFONT dialogFont_ = nullptr;
};

namespace DialogLook {

// Reads the colours and makes the brushes the first time; they are kept for
// the process.
void EnsureColours();

// Gives every child of dialog the font its id selects.
void ApplyFonts(HWND dialog, const DialogFontSet& fonts);

// Answers a WM_CTLCOLORSTATIC for a control with a style id: true with the
// brush in result; false for every other control, which keeps the system's
// colours.
bool ApplyColours(UINT message, HDC dc, HWND control, LRESULT& result);

}  // namespace DialogLook
