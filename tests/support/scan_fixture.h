#pragma once
// Scans a log built in a test with a recording window interface and reads the working files
// back.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/epoch/records.h"
#include "engine/session.h"
#include "support/log_builder.h"

namespace vnx::test {

// Remembers what a scan shows; can press Stop and answer the antenna question.
class RecordingUi : public ScanUi {
 public:
  void LightIndicator(Indicator which) override { lit[static_cast<int>(which)] = true; }
  void SetDateLabel(const std::string& text) override { dateLabels.push_back(text); }
  void SetTimeLabel(const std::string& text) override { timeLabels.push_back(text); }
  void SetFileSizeText(const std::string& text) override { fileSizeText = text; }
  void SetProgress(int percent) override { progress.push_back(percent); }
  void ProcessEvents() override {
    ++eventRounds;
    if (onEvents) onEvents();
  }
  void Refresh() override {}
  void Pause(int) override {}
  AntennaChoice AskAntenna(const std::string& letters) override {
    antennaQuestions.push_back(letters);
    return antennaAnswer;
  }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }

  bool lit[kIndicatorCount] = {};
  std::vector<std::string> dateLabels, timeLabels, messages, antennaQuestions;
  std::vector<int> progress;
  std::string fileSizeText;
  int eventRounds = 0;
  std::function<void()> onEvents;
  AntennaChoice antennaAnswer;
};

// A fresh temporary directory per test, removed with its content afterwards.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }
  std::string Write(const std::string& name, const std::string& bytes) const;

 private:
  std::string path_;
};

class ScanFixture : public ::testing::Test {
 protected:
  ScanFixture();

  // Writes the log and scans it; returns the session's Scan result.
  bool ScanLog(const std::string& bytes);
  bool ScanLog(const LogBuilder& log) { return ScanLog(log.str()); }

  // Error lines after the heading.
  std::vector<std::string> ErrorLines() const;
  std::vector<EpochRec> Epochs() const;                // the EpochCount records of this scan
  std::vector<std::vector<SvRec>> SatRecords() const;  // per epoch
  std::string WorkFile(const std::string& name) const;
  std::string ReadFileBytes(const std::string& path) const;

  TempDir dir;
  int scans_ = 0;
  RecordingUi ui;
  Session session{&ui};
  ScanContext& ctx = session.MutableContext();
};

}  // namespace vnx::test
