#pragma once
// The one small interface through which a scan talks to the window: indicator colours, the date
// and time labels, progress, pending events (where Stop is pressed), the antenna question and
// modal messages. The command-line checker and the tests use the headless implementation.
#include <string>

#include "engine/gnss/signals.h"

namespace vnx {

// Indicator lamps of the scan panel, lit once data of their kind was stored: one per observable
// (in the order of Observable), then the systems, the ephemerides and the external events.
enum class Indicator : int {
  Gps = kObservableCount,
  Glo,
  Sbas,
  Gal,
  EphGps,
  EphGlo,
  EphSbas,
  EphGal,
  ExternalEvents,
  Count
};
constexpr Indicator IndicatorOf(Observable o) {
  return static_cast<Indicator>(o);
}
inline constexpr int kIndicatorCount = static_cast<int>(Indicator::Count);

// The answer to the antenna question: whether to go on, and the antenna letter to keep.
struct AntennaChoice {
  bool proceed = true;
  char antenna = '0';  // '0' keeps every antenna
};

class ScanUi {
 public:
  virtual ~ScanUi() = default;
  virtual void LightIndicator(Indicator which) = 0;
  virtual void SetDateLabel(const std::string& text) = 0;
  virtual void SetTimeLabel(const std::string& text) = 0;
  virtual void SetFileSizeText(const std::string& text) = 0;
  virtual void SetProgress(int percent) = 0;
  // Lets the window run its pending events; Stop is pressed here.
  virtual void ProcessEvents() = 0;
  // Repaint after a progress change.
  virtual void Refresh() = 0;
  virtual void Pause(int milliseconds) = 0;
  // Shown once per scan, at the first antenna-name frame; `letters` are the antennas found.
  virtual AntennaChoice AskAntenna(const std::string& letters) = 0;
  // A modal message box with one text.
  virtual void ShowMessage(const std::string& text) = 0;
};

// Runs without a window: indicators and labels are dropped, messages go to a sink the owner
// chooses (standard error for the checker), the antenna question is answered with a fixed
// letter ('0' for all antennas).
class HeadlessUi : public ScanUi {
 public:
  explicit HeadlessUi(char antenna = '0') : antenna_(antenna) {}
  void LightIndicator(Indicator) override {}
  void SetDateLabel(const std::string&) override {}
  void SetTimeLabel(const std::string&) override {}
  void SetFileSizeText(const std::string&) override {}
  void SetProgress(int) override {}
  void ProcessEvents() override {}
  void Refresh() override {}
  void Pause(int) override {}
  AntennaChoice AskAntenna(const std::string&) override { return {true, antenna_}; }
  void ShowMessage(const std::string& text) override;

 private:
  char antenna_;
};

}  // namespace vnx
