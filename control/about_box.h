// The About box (dialog 1), shown modally without a parent window.
#pragma once

namespace zel::control {

void ShowAboutBox();

}  // namespace zel::control
