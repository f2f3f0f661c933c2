// LoadState: how far the views of one description have come. It only ever
// moves 0 -> 2 -> 1 for one description.
#pragma once

#include <cstdint>

namespace zel {

enum LoadState : int32_t {
    kNothingToShow = 0,  // no description, or no view has arrived
    kLoadFinished = 1,   // loading has ended
    kStillLoading = 2,   // the start view is shown and loading goes on
};

// The key flag of WM_LBUTTONDOWN/WM_MOUSEMOVE that says the left button is held
// (MK_LBUTTON); the Win32 layer checks that the values agree.
inline constexpr unsigned kLeftButtonFlag = 0x0001;

}  // namespace zel
