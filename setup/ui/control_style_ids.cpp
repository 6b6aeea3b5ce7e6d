#include "setup/ui/control_style_ids.h"

namespace ControlStyleIds {

Style Decode(unsigned id) {
  if (id < kFirstStyledId || id > 0xFFFF)
    return {false, kDialogFont, kColourWindowText, false, kColourWindow};
  static const SystemColour kText[] = {kColourGrayText, kColourCaptionText,
                                       kColourWindowText, kColourButtonText};
  static const SystemColour kBackground[] = {
      kColourButtonHighlight, kColourActiveCaption, kColourWindow,
      kColourButtonFace};
  Style s;
  s.styled = true;
  s.font = Font((id >> 4) & 3);
  s.text = kText[(id >> 9) & 3];
  s.opaque = (id & 0x40) != 0;
  s.background = kBackground[(id >> 7) & 3];
  return s;
}

}  // namespace ControlStyleIds
