#pragma once

#include <QIcon>

// The pictures of the tray menu's items, drawn in code in one style: a light face with a
// dark outline and one accent colour, so they read on light and dark menus alike.
namespace MenuIcons {

enum class Picture { NewNote, Show, TodaysTasks, Save, AddressBook, Preferences, Web, Help, Exit };

QIcon icon(Picture picture);

} // namespace MenuIcons
