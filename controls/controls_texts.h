// Texts of the small controls, the about box and the three confirmation dialogs, kept in one
// place; their English is in res/i18n/pelimon_en.ts. Texts that read the same in every language
// (OK, addresses) stay plain UTF-8.
#pragma once

#include "controls/gui_text.h"

namespace pelimon::controls_texts {

inline constexpr char kContext[] = "controls_texts";

// Confirmation dialogs (shared layout).
inline constexpr GuiText kDontAskAgain{kContext, QT_TRANSLATE_NOOP("controls_texts", "以後このメッセージを表示しない")};
inline constexpr GuiText kYes{kContext, QT_TRANSLATE_NOOP("controls_texts", "はい")};
inline constexpr GuiText kNo{kContext, QT_TRANSLATE_NOOP("controls_texts", "いいえ")};

inline constexpr GuiText kCompleteTitle{kContext, QT_TRANSLATE_NOOP("controls_texts", "完了")};
inline constexpr GuiText kCompleteText{
    kContext,
    QT_TRANSLATE_NOOP("controls_texts", "縮小画像の生成が終了しました。今すぐ出力先の\nフォルダを開きますか？")};
inline constexpr GuiText kConfirmTitle{kContext, QT_TRANSLATE_NOOP("controls_texts", "確認")};
inline constexpr GuiText kConfirmText{
    kContext,
    QT_TRANSLATE_NOOP("controls_texts", "この操作をすると、画像の回転設定がクリアされます。\n処理を続けますか？")};
inline constexpr GuiText kDefConfirmTitle{kContext, QT_TRANSLATE_NOOP("controls_texts", "確認")};
inline constexpr GuiText kDefConfirmText{
    kContext,
    QT_TRANSLATE_NOOP("controls_texts", "この操作をすると、各種設定値が初期化されます。\n処理を続けますか？")};

// About box.
inline constexpr GuiText kAboutTitle{kContext, QT_TRANSLATE_NOOP("controls_texts", "ペリモン !! のバージョン情報")};
inline constexpr GuiText kAboutVersion{kContext, QT_TRANSLATE_NOOP("controls_texts", "ペリモン Version 1.42")};
inline constexpr char kAboutNotice[] = "Copyright (C) pelimon developers. GPL-3.0-or-later";
inline constexpr char kAboutOk[] = "OK";
inline constexpr char kAboutHomePageLabel[] = "Home Page";
inline constexpr char kAboutMailLabel[] = "E-Mail";
inline constexpr char kAboutHomePage[] = "https://pelimon.example.org/";
inline constexpr char kAboutMail[] = "pelimon@example.org";

// Folder menus of the two folder buttons.
inline constexpr GuiText kMenuDesktop{kContext, QT_TRANSLATE_NOOP("controls_texts", "デスクトップ")};
inline constexpr GuiText kMenuDocuments{kContext, QT_TRANSLATE_NOOP("controls_texts", "マイドキュメント")};
inline constexpr GuiText kMenuPictures{kContext, QT_TRANSLATE_NOOP("controls_texts", "マイピクチャ")};
inline constexpr GuiText kMenuSameAsSource{kContext, QT_TRANSLATE_NOOP("controls_texts", "元画像と同一フォルダ")};

// Preview pane.
inline constexpr GuiText kNotAnImage{kContext, QT_TRANSLATE_NOOP("controls_texts", "画像ではありません")};

}  // namespace pelimon::controls_texts
