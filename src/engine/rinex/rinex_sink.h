#pragma once
// Where an exported RINEX file goes. A file on disk is written to a temporary file in the target
// directory and renamed into place only when it is complete, so a failed or stopped export never
// leaves a half file under the final name. A memory sink keeps the text, for tests and for
// running the export path without a disk.
#include <memory>
#include <string>
#include <string_view>

namespace vnx::rinex {

class Sink {
 public:
  virtual ~Sink() = default;
  virtual bool Write(std::string_view data) = 0;
  // Makes the text final (a file: closes and renames it into place).
  virtual bool Finish() = 0;
  // Drops what was written (a file: removes the temporary file).
  virtual void Abandon() = 0;
  // The reason of the first failure, naming the file: "cannot write x.obs: No space left on
  // device".
  virtual const std::string& Error() const = 0;
};

class MemorySink : public Sink {
 public:
  bool Write(std::string_view data) override {
    text_.append(data);
    return true;
  }
  bool Finish() override { return true; }
  void Abandon() override { text_.clear(); }
  const std::string& Error() const override { return error_; }
  const std::string& Text() const { return text_; }
  std::string Take() { return std::move(text_); }

 private:
  std::string text_;
  std::string error_;
};

// A file written through a temporary file beside it ("<dir>/.<name>.XXXXXX").
class FileSink : public Sink {
 public:
  explicit FileSink(std::string path);
  ~FileSink() override;  // abandons an unfinished file
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;

  // Creates the temporary file; false with Error() set when the directory is not writable.
  bool Open();
  bool Write(std::string_view data) override;
  bool Finish() override;
  void Abandon() override;
  const std::string& Error() const override { return error_; }
  const std::string& Path() const { return path_; }

 private:
  bool Fail(const char* what, int err);

  std::string path_;
  std::string temp_;
  int fd_ = -1;
  bool finished_ = false;
  std::string error_;
};

}  // namespace vnx::rinex
