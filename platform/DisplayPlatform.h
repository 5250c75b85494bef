#pragma once

// The display system the program's windows go to.
namespace DisplayPlatform {

// On a Wayland session that also offers X11 (XWayland), the notes run through X11:
// Wayland lets no program place its windows or keep them above others, and notes need
// both. Runs before the application object exists; a platform the user chose
// (QT_QPA_PLATFORM) is left alone.
void preferX11OnWayland();

} // namespace DisplayPlatform
