// Texts of the batch (captions, messages and the per-file reports), in Japanese and English, kept
// in one place. Functions put the names and numbers they are given into their text.
#pragma once

#include <string>

#include "batch/interaction.h"
#include "common/language.h"

namespace pelimon::batch_texts {

inline constexpr Phrase kFolderCheckCaption{"フォルダチェック", "Folder check"};

// The errors that stop a run before its jobs, as a message box and as a terminal's sentence.
inline Notice NoImages() {
    static constexpr Phrase kCaption{"画像ファイルエラー", "Image file error"};
    static constexpr Phrase kText{"画像ファイルが無いか、１つも選択されていません。処理を中止します。",
                                  "There are no image files, or none is checked. Nothing was reduced."};
    static constexpr Phrase kSentence{"縮小する画像ファイルがありませんでした", "found no image files to reduce"};
    return {kCaption.str(), kText.str(), kSentence.str()};
}
inline Notice NoSourceFolder(const std::string& out) {
    if (InEnglish()) {
        return {kFolderCheckCaption.str(),
                "The output folder " + out + " cannot be placed because no source folder is set.",
                "cannot place the output folder " + out + ": no source folder is set"};
    }
    return {kFolderCheckCaption.str(),
            "元画像のフォルダが決まっていないため、出力先のフォルダ " + out + " を決められません。",
            "元画像のフォルダが決まっていないため、出力フォルダ " + out + " を決められません"};
}
inline Notice FolderNotWritable(const std::string& folder) {
    static constexpr Phrase kCaption{"ドライブエラー", "Drive error"};
    if (InEnglish()) {
        return {
            kCaption.str(),
            folder +
                " \nThis folder cannot be written to (it is read-only, or you have no permission to write). "
                "Choose another output folder.",
            "cannot write to the output folder " + folder + " (it is read-only, or you have no permission to write)"};
    }
    return {kCaption.str(),
            folder +
                " \nフォルダには書き込みできません（読み取り専用か、書き込みの権限がありません）。別の出力先のフォルダ"
                "を指定"
                "して下さい。",
            "出力フォルダ " + folder + " に書き込めません（読み取り専用か、書き込みの権限がありません）"};
}
// FileType holds a value that names no output format (a settings or parameter file written by
// hand): the run stops before its jobs.
inline Notice UnknownFileType(int file_type) {
    static constexpr Phrase kCaption{"設定エラー", "Settings error"};
    const std::string code = "FileType=" + std::to_string(file_type);
    if (InEnglish()) {
        return {kCaption.str(), "The output format " + code + " is not one pelimon writes. Nothing was reduced.",
                "the output format " + code + " is not one pelimon writes"};
    }
    return {kCaption.str(), "縮小画像のファイル形式 " + code + " は書き出せない形式です。処理を中止します。",
            "縮小画像のファイル形式 " + code + " は書き出せない形式です"};
}

// The question whether to create a missing output folder, and what Yes did.
inline std::string FolderMissing(const std::string& folder) {
    if (InEnglish()) {
        return folder + " \nThis folder does not exist. Create it?";
    }
    return folder + " \nフォルダは存在しません。作成しますか？";
}
inline std::string FolderCreated(const std::string& folder) {
    if (InEnglish()) {
        return "created the output folder " + folder;
    }
    return "出力フォルダ " + folder + " を作成しました";
}
inline Notice FolderNotCreated(const std::string& folder, const std::string& why) {
    const std::string reason = why.empty() ? std::string() : InEnglish() ? " (" + why + ")" : "（" + why + "）";
    if (InEnglish()) {
        return {kFolderCheckCaption.str(), folder + " \nCannot create this folder. " + why,
                "cannot create the output folder " + folder + reason};
    }
    return {kFolderCheckCaption.str(), folder + " \nフォルダを作成できませんでした。" + why,
            "出力フォルダ " + folder + " を作成できませんでした" + reason};
}

// A note on an output that was given a distinct name; `hits_source` when the planned name was
// the source file itself, otherwise another output of the run.
inline std::string Renamed(const std::string& file, const std::string& planned, bool hits_source,
                           const std::string& given) {
    if (InEnglish()) {
        const std::string reason = hits_source ? "is the source file itself" : "is another output's name";
        return file + ": the output name " + planned + " " + reason + ", so it was saved as " + given + ".";
    }
    const std::string reason = hits_source ? "元画像と同じになるため" : "ほかの画像の出力と重なるため";
    return file + " の出力名 " + planned + " は" + reason + "、" + given + " として保存しました。";
}

// "Same as the source" for a source whose name shows no image format (a file named on the
// command line, whatever its extension).
inline std::string NoFormatInName(const std::string& file) {
    if (InEnglish()) {
        return file + ": cannot be written in the source's format: its name shows no image format.";
    }
    return file + ": ファイル名から画像形式が分からないため、元画像と同じ形式では書き出せません。";
}
// A job whose OutputType names no format reached the renderer (PrepareJobs gives every job one).
inline std::string NoOutputFormat(int output_type) {
    if (InEnglish()) {
        return "no output format has OutputType " + std::to_string(output_type);
    }
    return "OutputType " + std::to_string(output_type) + " の出力形式はありません";
}
inline std::string NotAnImage(const std::string& file, const std::string& why) {
    if (InEnglish()) {
        return file + ": cannot read it as an image (" + why + ").";
    }
    return file + ": 画像ファイルとして読み込めませんでした（" + why + "）。";
}
inline std::string OutputSizeUnusable(int width, int height) {
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    if (InEnglish()) {
        return "Cannot make an image of output size " + size + ". Check the size settings.";
    }
    return "出力サイズ " + size + " では画像を生成できません。サイズの設定を確認して下さい。";
}
inline std::string OutputSizeTooLarge(int width, int height) {
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    if (InEnglish()) {
        return "Cannot make an image: output size " + size + " is too large.";
    }
    return "出力サイズ " + size + " が大きすぎるため画像を生成できません。";
}
inline std::string NotDecoded(const std::string& why) {
    if (InEnglish()) {
        return "Cannot read the image (" + why + ").";
    }
    return "画像を読み込めませんでした（" + why + "）。";
}
inline constexpr Phrase kSourceCutShort{"ファイルが途中で切れています", "the file is cut short"};
inline std::string NotEncoded(const std::string& why) {
    if (InEnglish()) {
        return "Cannot write the image (" + why + ").";
    }
    return "画像を書き出せませんでした（" + why + "）。";
}
inline std::string OutOfMemory(const std::string& file) {
    if (InEnglish()) {
        return file + ": not enough memory to process it.";
    }
    return file + ": メモリが足りないため処理できませんでした。";
}
inline std::string NotProcessed(const std::string& file, const std::string& why) {
    if (InEnglish()) {
        return file + ": cannot process it (" + why + ").";
    }
    return file + ": 処理できませんでした（" + why + "）。";
}
inline std::string NotWritten(const std::string& name, const std::string& why) {
    if (InEnglish()) {
        return "Cannot write " + name + " (" + why + ").";
    }
    return name + " を書き込めませんでした（" + why + "）。";
}
inline std::string NotDated(const std::string& name, const std::string& why) {
    if (InEnglish()) {
        return "Cannot set the modification time of " + name + " to its shooting date (" + why + ").";
    }
    return name + " の更新日を撮影日にできませんでした（" + why + "）。";
}
inline std::string NotRead(const std::string& path, const std::string& why) {
    if (InEnglish()) {
        return "Cannot read " + path + " (" + why + ").";
    }
    return path + " を読み込めませんでした（" + why + "）。";
}
inline std::string NotARegularFile(const std::string& path) {
    if (InEnglish()) {
        return path + " is not a regular file.";
    }
    return path + " は通常のファイルではありません。";
}
inline std::string SourceTooLarge(const std::string& path) {
    if (InEnglish()) {
        return path + " is too large to read.";
    }
    return path + " は大きすぎるため読み込みません。";
}

}  // namespace pelimon::batch_texts
