// Texts of the small controls, the about box and the three confirmation dialogs, kept in one
// place (their translations are in po/). Texts that read the same in every language (OK,
// addresses) stay plain UTF-8.
#pragma once

#include "common/message.h"

namespace pelimon::controls_texts {

// Confirmation dialogs (shared layout).
inline constexpr Message kDontAskAgain = Message("Don't show this message again");
inline constexpr Message kYes = Message("Yes");
inline constexpr Message kNo = Message("No");

inline constexpr Message kCompleteTitle = Message("Finished");
inline constexpr Message kCompleteText = Message(
    "The reduced images have been made.\n"
    "Open the output folder now?");
inline constexpr Message kConfirmTitle = Message("Confirm");
inline constexpr Message kConfirmText = Message(
    "This clears the rotation set for the images.\n"
    "Do you want to continue?");
inline constexpr Message kDefConfirmTitle = Message("Confirm");
inline constexpr Message kDefConfirmText = Message(
    "This resets all settings to their defaults.\n"
    "Do you want to continue?");

// The output preview's pictures.
inline constexpr Message kCompareSource = Message("Source");
inline constexpr Message kCompareOutput = Message("Output");

// About box.
inline constexpr Message kAboutTitle = Message("About Pelimon !!");
inline constexpr Message kAboutVersion = Message("Pelimon Version 1.42");
inline constexpr char kAboutNotice[] = "Copyright (C) pelimon developers. GPL-3.0-or-later";
inline constexpr char kAboutOk[] = "OK";
inline constexpr char kAboutHomePageLabel[] = "Home Page";
inline constexpr char kAboutMailLabel[] = "E-Mail";
inline constexpr char kAboutHomePage[] = "https://pelimon.example.org/";
inline constexpr char kAboutMail[] = "pelimon@example.org";

// Folder menus of the two folder buttons.
inline constexpr Message kMenuDesktop = Message("Desktop");
inline constexpr Message kMenuDocuments = Message("Documents");
inline constexpr Message kMenuPictures = Message("Pictures");
inline constexpr Message kMenuSameAsSource = Message("Same folder as the source images");

// Preview pane.
inline constexpr Message kNotAnImage = Message("Not an image");

}  // namespace pelimon::controls_texts
