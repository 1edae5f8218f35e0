// Texts of the batch (captions, messages and the per-file reports), kept in one place (their
// translations are in po/). Functions put the names and numbers they are given into their text.
#pragma once

#include <string>

#include "batch/interaction.h"
#include "common/message.h"

namespace pelimon::batch_texts {

inline constexpr Message kFolderCheckCaption = Message("Folder check");

// The errors that stop a run before its jobs, as a message box and as a terminal's sentence.
inline Notice NoImages() {
    static constexpr Message kCaption = Message("Image file error");
    static constexpr Message kText = Message("There are no image files, or none is checked. Nothing was reduced.");
    static constexpr Message kSentence = Message("found no image files to reduce");
    return {kCaption.str(), kText.str(), kSentence.str()};
}
inline Notice NoSourceFolder(const std::string& out) {
    return {kFolderCheckCaption.str(),
            Format(Message("The output folder %s cannot be placed because no source folder is set."), out),
            Format(Message("cannot place the output folder %s: no source folder is set"), out)};
}
inline Notice FolderNotWritable(const std::string& folder) {
    static constexpr Message kCaption = Message("Drive error");
    return {kCaption.str(),
            Format(Message("%s \nThis folder cannot be written to (it is read-only, or you have no permission to "
                           "write). Choose another output folder."),
                   folder),
            Format(Message("cannot write to the output folder %s (it is read-only, or you have no permission to "
                           "write)"),
                   folder)};
}
// FileType holds a value that names no output format (a settings or parameter file written by
// hand): the run stops before its jobs.
inline Notice UnknownFileType(int file_type) {
    static constexpr Message kCaption = Message("Settings error");
    return {kCaption.str(),
            Format(Message("The output format FileType=%d is not one pelimon writes. Nothing was reduced."), file_type),
            Format(Message("the output format FileType=%d is not one pelimon writes"), file_type)};
}

// The question whether to create a missing output folder, and what Yes did.
inline std::string FolderMissing(const std::string& folder) {
    return Format(Message("%s \nThis folder does not exist. Create it?"), folder);
}
inline std::string FolderCreated(const std::string& folder) {
    return Format(Message("created the output folder %s"), folder);
}
inline Notice FolderNotCreated(const std::string& folder, const std::string& why) {
    return {kFolderCheckCaption.str(), Format(Message("%s \nCannot create this folder. %s"), folder, why),
            why.empty() ? Format(Message("cannot create the output folder %s"), folder)
                        : Format(Message("cannot create the output folder %s (%s)"), folder, why)};
}

// A note on an output that was given a distinct name; `hits_source` when the planned name was
// the source file itself, otherwise another output of the run.
inline std::string Renamed(const std::string& file, const std::string& planned, bool hits_source,
                           const std::string& given) {
    if (hits_source) {
        return Format(Message("%s: the output name %s is the source file itself, so it was saved as %s."), file,
                      planned, given);
    }
    return Format(Message("%s: the output name %s is another output's name, so it was saved as %s."), file, planned,
                  given);
}

// "Same as the source" for a source whose name shows no image format (a file named on the
// command line, whatever its extension).
inline std::string NoFormatInName(const std::string& file) {
    return Format(Message("%s: cannot be written in the source's format: its name shows no image format."), file);
}
// A job whose OutputType names no format reached the renderer (PrepareJobs gives every job one).
inline std::string NoOutputFormat(int output_type) {
    return Format(Message("no output format has OutputType %d"), output_type);
}
inline std::string NotAnImage(const std::string& file, const std::string& why) {
    return Format(Message("%s: cannot read it as an image (%s)."), file, why);
}
inline std::string OutputSizeUnusable(int width, int height) {
    return Format(Message("Cannot make an image of output size %d x %d. Check the size settings."), width, height);
}
inline std::string OutputSizeTooLarge(int width, int height) {
    return Format(Message("Cannot make an image: output size %d x %d is too large."), width, height);
}
inline std::string NotDecoded(const std::string& why) {
    return Format(Message("Cannot read the image (%s)."), why);
}
inline constexpr Message kSourceCutShort = Message("the file is cut short");
// `why` is the encoder's own message (imagelib_texts::EncodeFailed).
inline std::string NotEncoded(const std::string& why) {
    return Format(Message("Cannot write the image (%s).", "job failure"), why);
}
inline std::string OutOfMemory(const std::string& file) {
    return Format(Message("%s: not enough memory to process it."), file);
}
inline std::string NotProcessed(const std::string& file, const std::string& why) {
    return Format(Message("%s: cannot process it (%s)."), file, why);
}
inline std::string NotWritten(const std::string& name, const std::string& why) {
    return Format(Message("Cannot write %s (%s)."), name, why);
}
inline std::string NotDated(const std::string& name, const std::string& why) {
    return Format(Message("Cannot set the modification time of %s to its shooting date (%s)."), name, why);
}
inline std::string NotRead(const std::string& path, const std::string& why) {
    return Format(Message("Cannot read %s (%s)."), path, why);
}
inline std::string NotARegularFile(const std::string& path) {
    return Format(Message("%s is not a regular file."), path);
}
inline std::string SourceTooLarge(const std::string& path) {
    return Format(Message("%s is too large to read."), path);
}

inline std::string ManifestDamaged(const std::string& path) {
    return Format(Message("%s is damaged and was not used: every source was reduced again, and it is rebuilt."), path);
}
inline std::string ManifestNotWritten(const std::string& why) {
    return Format(Message("The list of up-to-date outputs could not be saved (%s): the next update run reduces "
                          "these sources again."),
                  why);
}

}  // namespace pelimon::batch_texts
