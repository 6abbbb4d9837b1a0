#pragma once
// The RINEX observation file: a first pass over the epoch and satellite records finds what the
// header lists (observables that occur, first and last epoch, interval, mean position, GLONASS
// channels); the second pass writes the header and the epochs, with the external events and the
// changes of occupation between them.
#include <array>
#include <cstdint>
#include <string>

#include "engine/epoch/records.h"
#include "engine/rinex/rinex_export.h"
#include "engine/rinex/rinex_text.h"

namespace vnx::rinex {

// An instant as the files write it: calendar fields and nanoseconds of the minute, plus one
// number to order instants by.
struct Instant {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
  int64_t nsOfMinute = 0;
  int64_t key = 0;  // nanoseconds since 1980-01-06 on the same calendar
};
bool InstantFromTimeRec(const TimeRec& t, Instant& out);

struct ObsSurvey {
  int64_t epochs = 0;  // epoch records read
  Instant first, last;
  double intervalSeconds = 0;  // smallest positive step between epochs; 0 with one epoch
  double position[3] = {};     // mean of the log's positions
  int64_t positions = 0;
  bool hasIono = false, hasUtc = false;
  IonoBlock iono{};
  UtcBlock utc{};
  SiteInfo firstSite{};
  // By SystemIndex: bit Observable set when the observable occurs.
  std::array<uint32_t, kSatSystemCount> present{};
  std::array<int, 25> glonassChannel{};  // by slot; kNoChannel where none was seen
  int64_t satellites = 0;                // distinct satellites written
};
inline constexpr int kNoChannel = 100;

// Reads the records once. False with `error` set when a working file cannot be read.
bool SurveyObservations(const ExportInput& in, const ExportOptions& o, ObsSurvey& s,
                        std::string& error);

struct ObsWriteResult {
  int64_t epochs = 0;
  int64_t events = 0;
  bool stopped = false;
};

// Writes the whole observation file. False with `error` set when a record file cannot be read.
bool WriteObservationFile(const ExportInput& in, const ExportOptions& o, const ObsSurvey& s,
                          TextBuffer& out, ObsWriteResult& r, std::string& error);

// The header's PGM / RUN BY / DATE line (shared with the navigation files).
void PutProgramLine(TextBuffer& out, const ExportOptions& o);
// LEAP SECONDS as the version writes it; nothing when the log gave no UTC parameters.
void PutLeapSecondsLine(TextBuffer& out, const ObsSurvey& s, Version v);
// A GPS week given modulo 256 or 1024 brought next to `nearWeek`.
int UnwrapWeek(int week, int nearWeek);

}  // namespace vnx::rinex
