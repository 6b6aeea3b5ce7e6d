// ControlStyleIds: the look of a dialog control encoded in its id. Controls
// with ids from 0xF000 take their font from the id and, when they ask for
// colours with WM_CTLCOLORSTATIC, their text and background colours too, so
// that dialog templates alone give every dialog the same look.
//
//   (id >> 4) & 3  font: 0 title, 1 bold, 2 normal, 3 the dialog font
//   (id >> 9) & 3  text colour: grey text, caption text, window text, button text
//   id & 0x40      opaque background (else transparent, null brush)
//   (id >> 7) & 3  background when opaque: button highlight, active caption,
//                  window, button face
#pragma once

namespace ControlStyleIds {

constexpr unsigned kFirstStyledId = 0xF000;

enum Font { kTitleFont = 0, kBoldFont = 1, kNormalFont = 2, kDialogFont = 3 };

// System colour indices (GetSysColor), spelled out so that this stays
// portable.
enum SystemColour {
  kColourActiveCaption = 2,
  kColourWindow = 5,
  kColourWindowText = 8,
  kColourCaptionText = 9,
  kColourButtonFace = 15,
  kColourGrayText = 17,
  kColourButtonText = 18,
  kColourButtonHighlight = 20,
};

struct Style {
  bool styled;          // false: dialog font and the system's own colours
  Font font;
  SystemColour text;
  bool opaque;
  SystemColour background;  // meaningful only when opaque
};

// Ids are taken as 16 bits, as dialog templates store them: the -1 of
// unnamed labels reads as 0xFFFF, the dialog font in button colours on the
// button face, which is the system's own look for them.
Style Decode(unsigned id);

}  // namespace ControlStyleIds
