// Which names the control may turn into local paths. View and description
// names are appended to the temporary folder, morph paths are opened as the
// description writes them; both come from pages nobody here wrote.
//
// Windows opens a device, not a file, for any path component whose name before
// its first dot or colon (trailing spaces dropped) is CON, PRN, AUX, NUL,
// CONIN$, CONOUT$, COM1-9 or LPT1-9 in any letter case, "nul.jpg" included.
#pragma once

#include <string>

namespace zel {

// True when `component` (one path component) names a DOS device.
bool IsDosDeviceName(const std::string& component);

// A name that stays a file of the folder it is appended to: not empty, no
// separator, no drive or stream colon, not made of dots and spaces only (".",
// ".." and what Windows trims to them), no NUL byte and no device name. Dots
// inside a name ("v..1.jpg") are ordinary characters.
bool IsPlainFileName(const std::string& name);

// True when any component of `path` names a DOS device ("C:\dir\nul.zel").
bool NamesADevice(const std::string& path);

// A morph path the control may open: relative and local absolute paths as
// written, but never a network share or device path (two leading separators:
// "\\host\share", "\\?\", "\\.\") and never a component that names a device.
bool IsOpenableMorphPath(const std::string& path);

}  // namespace zel
