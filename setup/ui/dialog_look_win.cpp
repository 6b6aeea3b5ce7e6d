#include "setup/ui/dialog_look.h"

namespace {

struct SharedColours {
  bool ready = false;
  COLORREF text[4] = {};
  COLORREF background[4] = {};
  BrushHandle brush[4];
};

SharedColours& Colours() {
  static SharedColours colours;
  return colours;
}

// Index 0..3 of the style's colour in the tables of the id bits.
int TextIndex(unsigned id) { return (id >> 9) & 3; }
int BackgroundIndex(unsigned id) { return (id >> 7) & 3; }

HFONT MakeFont(const LOGFONTA& lf) { return CreateFontIndirectA(&lf); }

}  // namespace

void DialogFontSet::Create(HWND dialog) {
  Delete();
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
  if (!font)
    font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  LOGFONTA base = {};
  GetObjectA(font, sizeof(base), &base);
  dialogFont_ = font;

  LOGFONTA lf = base;
  lf.lfHeight = MulDiv(base.lfHeight, 120, 100);
  lf.lfWidth = 0;
  lf.lfWeight = FW_BOLD;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = FF_SWISS | VARIABLE_PITCH;
  lstrcpynA(lf.lfFaceName, "Tahoma", LF_FACESIZE);
  title_.reset(MakeFont(lf));

  lf = base;
  lf.lfWeight = FW_BOLD;
  bold_.reset(MakeFont(lf));
  lf.lfWeight = FW_NORMAL;
  normal_.reset(MakeFont(lf));
  lf = base;
  lf.lfUnderline = TRUE;
  underlined_.reset(MakeFont(lf));
}

void DialogFontSet::Delete() {
  title_.reset();
  bold_.reset();
  normal_.reset();
  underlined_.reset();
  dialogFont_ = nullptr;
}

HFONT DialogFontSet::Get(ControlStyleIds::Font font) const {
  HFONT chosen = nullptr;
  switch (font) {
    case ControlStyleIds::kTitleFont: chosen = title_.get(); break;
    case ControlStyleIds::kBoldFont: chosen = bold_.get(); break;
    case ControlStyleIds::kNormalFont: chosen = normal_.get(); break;
    case ControlStyleIds::kDialogFont: break;
  }
  return chosen ? chosen : dialogFont_;
}

namespace DialogLook {

void EnsureColours() {
  SharedColours& c = Colours();
  if (c.ready)
    return;
  for (unsigned i = 0; i < 4; ++i) {
    // Decode the colour of each table row from a representative id.
    const ControlStyleIds::Style s =
        ControlStyleIds::Decode(ControlStyleIds::kFirstStyledId | i << 9 | i << 7);
    c.text[i] = GetSysColor(s.text);
    c.background[i] = GetSysColor(s.background);
    c.brush[i].reset(CreateSolidBrush(c.background[i]));
  }
  c.ready = true;
}

void ApplyFonts(HWND dialog, const DialogFontSet& fonts) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child;
       child = GetWindow(child, GW_HWNDNEXT)) {
    const unsigned id = unsigned(GetDlgCtrlID(child)) & 0xFFFF;
    const ControlStyleIds::Style s = ControlStyleIds::Decode(id);
    HFONT font = fonts.Get(s.styled ? s.font : ControlStyleIds::kDialogFont);
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
}

bool ApplyColours(UINT message, HDC dc, HWND control, LRESULT& result) {
  if (message != WM_CTLCOLORSTATIC || !control)
    return false;
  const unsigned id = unsigned(GetDlgCtrlID(control)) & 0xFFFF;
  const ControlStyleIds::Style s = ControlStyleIds::Decode(id);
  if (!s.styled)
    return false;
  EnsureColours();
  SharedColours& c = Colours();
  SetTextColor(dc, c.text[TextIndex(id)]);
  if (s.opaque) {
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, c.background[BackgroundIndex(id)]);
    result = reinterpret_cast<LRESULT>(c.brush[BackgroundIndex(id)].get());
  } else {
    SetBkMode(dc, TRANSPARENT);
    result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
  }
  return true;
}

}  // namespace DialogLook
