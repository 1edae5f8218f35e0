// Texts of the small controls, the about box and the three confirmation dialogs, kept in one
// place so that they can be translated later.
#pragma once

namespace pelimon::controls_texts {

// Confirmation dialogs (shared layout).
inline constexpr char kDontAskAgain[] = "以後このメッセージを表示しない";
inline constexpr char kYes[] = "はい";
inline constexpr char kNo[] = "いいえ";

inline constexpr char kCompleteTitle[] = "完了";
inline constexpr char kCompleteText[] = "縮小画像の生成が終了しました。今すぐ出力先の\nフォルダを開きますか？";
inline constexpr char kConfirmTitle[] = "確認";
inline constexpr char kConfirmText[] = "この操作をすると、画像の回転設定がクリアされます。\n処理を続けますか？";
inline constexpr char kDefConfirmTitle[] = "確認";
inline constexpr char kDefConfirmText[] = "この操作をすると、各種設定値が初期化されます。\n処理を続けますか？";

// About box.
inline constexpr char kAboutTitle[] = "ペリモン !! のバージョン情報";
inline constexpr char kAboutVersion[] = "ペリモン Version 1.42";
inline constexpr char kAboutNotice[] = "Copyright (C) pelimon developers. GPL-3.0-or-later";
inline constexpr char kAboutOk[] = "OK";
inline constexpr char kAboutHomePageLabel[] = "Home Page";
inline constexpr char kAboutMailLabel[] = "E-Mail";
inline constexpr char kAboutHomePage[] = "https://pelimon.example.org/";
inline constexpr char kAboutMail[] = "pelimon@example.org";

// Folder menus of the two folder buttons.
inline constexpr char kMenuDesktop[] = "デスクトップ";
inline constexpr char kMenuDocuments[] = "マイドキュメント";
inline constexpr char kMenuPictures[] = "マイピクチャ";
inline constexpr char kMenuSameAsSource[] = "元画像と同一フォルダ";

// Preview pane.
inline constexpr char kNotAnImage[] = "画像ではありません";

}  // namespace pelimon::controls_texts
