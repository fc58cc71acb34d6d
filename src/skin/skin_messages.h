// The skin engine's private window messages. Other programs (and the end-to-end tests) may
// send 0x3523 to learn whether a window is skinned.
#pragma once

namespace skin {

inline constexpr unsigned kMsgSkinChanged = 0x3401;      // the skin changed: recolour, refresh, re-measure
inline constexpr unsigned kMsgPaintNC = 0x3502;          // paint the non-client area now
inline constexpr unsigned kMsgStartSkin = 0x3503;        // posted by the manager: start skinning (lParam 1000)
inline constexpr unsigned kMsgSkinOnOff = 0x3506;        // to a skinned control: wParam > 0 skinned, 0 native
inline constexpr unsigned kMsgCustomAction = 0x3514;     // a caption button of a custom action was clicked (wParam)
inline constexpr unsigned kMsgCustomVisibility = 0x3515; // asks whether a button of code wParam, action lParam shows
inline constexpr unsigned kMsgMaximizedCaption = 0x3516; // an MDI child's caption changed while maximised
inline constexpr unsigned kMsgScrollbarSkin = 0x3517;    // give the child window in wParam a scroll-bar skin
inline constexpr unsigned kMsgOpenAt = 0x3518;           // open the menu-bar item under the point in lParam
inline constexpr unsigned kMsgIsSkinned = 0x3523;        // answered 1 by every skinned window and popup menu
inline constexpr unsigned kMsgPaintNCInto = 0xBC4B;      // paint the non-client area into the DC in wParam
inline constexpr unsigned kMsgAskSkinned = 0xBC4D;       // answered 16802 when lParam is 16802
inline constexpr unsigned kMsgAfterSkin = 0xBC4E;        // sent once a window is skinned (lParam 16802)
inline constexpr long kSkinMagic = 16802;

// The Tag that marks the skin's own system-menu popup.
inline constexpr int kSystemMenuTag = 33333;

}  // namespace skin
