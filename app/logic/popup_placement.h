#pragma once
// Where the main window's small pop-ups stand: the skin chooser and the settings window below
// their buttons, the about window below "set", the feedback window beside the main window.
// Screen coordinates (device pixels); control rectangles are in the main window's client
// coordinates in 96-DPI units, like the sizes and distances here, which scale by the main window's
// display scale (the last argument).
#include "app/logic/placement.h"

inline constexpr int kSkinChooserWidth = 198;
inline constexpr int kSkinChooserHeight = 140;
inline constexpr int kSettingsWidth = 240;
inline constexpr int kSettingsHeight = 227;
inline constexpr int kAboutWidth = 306;
inline constexpr int kAboutHeight = 198;

// mainWindow: the main window's screen rectangle; button: the "skin" or "set" control.
tvui::Rect PlaceSkinChooser(const tvui::Rect& mainWindow, const tvui::Rect& skinButton,
                            const tvui::Scale& scale = tvui::Scale());
tvui::Rect PlaceSettings(const tvui::Rect& mainWindow, const tvui::Rect& setButton,
                         const tvui::Scale& scale = tvui::Scale());
tvui::Rect PlaceAbout(const tvui::Rect& mainWindow, const tvui::Rect& setButton,
                      const tvui::Scale& scale = tvui::Scale());
// The feedback window of the given height: right of the main window with the taskbar at the
// left, else left of it; its top at the main window's current top. height in 96-DPI units.
tvui::Rect PlaceFeedback(const Anchor& anchor, int currentTop, int height,
                         const tvui::Scale& scale = tvui::Scale());

inline constexpr int kRemindersWidth = 400;
inline constexpr int kRemindersHeight = 352;
// The reminders dialog: beside the main window (left of it, else right of it) so that the grid's
// marks stay in sight, its bottom at the main window's bottom; over the main window when neither
// side has room. Kept inside the work area.
tvui::Rect PlaceReminders(const tvui::Rect& mainWindow, const tvui::Rect& workArea,
                          const tvui::Scale& scale = tvui::Scale());
