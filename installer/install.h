// The installer's two steps. Each returns 1 when it did its work and 0 when
// it did not; a copy that fails makes its step fail.
#pragma once

namespace zel::installer {

// Copies `fileName` (relative to the current directory) into the plug-ins
// directory of every Netscape Navigator version in the registry.
int InstallPlugin(const char* fileName);

// Copies `fileName` into the system directory and registers the copy with
// Regsvr32.exe, waiting for its verdict.
int InstallControl(const char* fileName);

}  // namespace zel::installer
