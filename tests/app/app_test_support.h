// Helpers of the app tests: a temporary folder, generated images, and a recording Interaction.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "batch/interaction.h"

namespace pelimon::testing {

// A temporary folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    // The folder without and with its trailing '/'.
    const std::string& path() const { return path_; }
    std::string Folder() const { return path_ + "/"; }
    // A path inside the folder; missing parent folders are created.
    std::string Path(std::string_view relative) const;

  private:
    std::string path_;
};

// Writes `bytes` to `path`.
void WriteBytes(const std::string& path, std::string_view bytes);
// Writes `size` bytes of zeros to `path`.
void WriteSizedFile(const std::string& path, uint64_t size);
// Writes a width x height gradient as a JPEG (quality 90) or a PNG.
void WriteJpeg(const std::string& path, int width, int height);
void WritePng(const std::string& path, int width, int height);
std::string ReadText(const std::string& path);

// The names of the regular files of a folder, sorted.
std::vector<std::string> FileNames(const std::string& folder);

// Records what a command line's handling shows; answers Yes.
class RecordingInteraction : public Interaction {
  public:
    struct Message {
        std::string caption;
        std::string text;
    };
    void ShowError(std::string_view caption, std::string_view text) override {
        errors.push_back({std::string(caption), std::string(text)});
    }
    bool AskYesNo(std::string_view, std::string_view) override { return true; }
    void ReportProgress(int, int) override {}
    bool CancelRequested() override { return false; }
    void ReportSummary(const std::vector<Error>&, const std::vector<std::string>&) override {}
    void OfferToOpenFolder(const std::string&, bool&) override {}

    std::vector<Message> errors;
};

}  // namespace pelimon::testing
