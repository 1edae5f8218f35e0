// Texts of the batch (captions, messages and the per-file reports), kept in one place for
// translation. Functions put the names and numbers they are given into their text.
#pragma once

#include <string>
#include <string_view>

namespace pelimon::batch_texts {

inline constexpr std::string_view kNoImageCaption = "画像ファイルエラー";
inline constexpr std::string_view kNoImageText = "画像ファイルが無いか、１つも選択されていません。処理を中止します。";
inline constexpr std::string_view kDriveErrorCaption = "ドライブエラー";
inline constexpr std::string_view kFolderCheckCaption = "フォルダチェック";

inline std::string NoSourceFolder(const std::string& out) {
    return "元画像のフォルダが決まっていないため、出力先のフォルダ " + out + " を決められません。";
}
inline std::string FolderNotWritable(const std::string& folder) {
    return folder +
           " \nフォルダには書き込みできません（読み取り専用か、書き込みの権限がありません）。別の出力先のフォルダを指定"
           "して下さい。";
}
inline std::string FolderMissing(const std::string& folder) {
    return folder + " \nフォルダは存在しません。作成しますか？";
}
inline std::string FolderNotCreated(const std::string& folder, const std::string& why) {
    return folder + " \nフォルダを作成できませんでした。" + why;
}

// A note on an output that was given a distinct name; `hits_source` when the planned name was
// the source file itself, otherwise another output of the run.
inline std::string Renamed(const std::string& file, const std::string& planned, bool hits_source,
                           const std::string& given) {
    const std::string reason = hits_source ? "元画像と同じになるため" : "ほかの画像の出力と重なるため";
    return file + " の出力名 " + planned + " は" + reason + "、" + given + " として保存しました。";
}

inline std::string NotAnImage(const std::string& file, const std::string& why) {
    return file + ": 画像ファイルとして読み込めませんでした（" + why + "）。";
}
inline std::string OutputSizeUnusable(int width, int height) {
    return "出力サイズ " + std::to_string(width) + " x " + std::to_string(height) +
           " では画像を生成できません。サイズの設定を確認して下さい。";
}
inline std::string OutputSizeTooLarge(int width, int height) {
    return "出力サイズ " + std::to_string(width) + " x " + std::to_string(height) +
           " が大きすぎるため画像を生成できません。";
}
inline std::string NotDecoded(const std::string& why) {
    return "画像を読み込めませんでした（" + why + "）。";
}
inline std::string NotEncoded(const std::string& why) {
    return "画像を書き出せませんでした（" + why + "）。";
}
inline std::string OutOfMemory(const std::string& file) {
    return file + ": メモリが足りないため処理できませんでした。";
}
inline std::string NotProcessed(const std::string& file, const std::string& why) {
    return file + ": 処理できませんでした（" + why + "）。";
}
inline std::string NotWritten(const std::string& name, const std::string& why) {
    return name + " を書き込めませんでした（" + why + "）。";
}
inline std::string NotDated(const std::string& name, const std::string& why) {
    return name + " の更新日を撮影日にできませんでした（" + why + "）。";
}
inline std::string NotRead(const std::string& path, const std::string& why) {
    return path + " を読み込めませんでした（" + why + "）。";
}
inline std::string NotARegularFile(const std::string& path) {
    return path + " は通常のファイルではありません。";
}
inline std::string SourceTooLarge(const std::string& path) {
    return path + " は大きすぎるため読み込みません。";
}

}  // namespace pelimon::batch_texts
