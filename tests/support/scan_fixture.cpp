#include "support/scan_fixture.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/epoch/record_reader.h"
#include "engine/views/error_list.h"

namespace vnx::test {

TempDir::TempDir() {
  char tmpl[] = "/tmp/vnx-test-XXXXXX";
  const char* p = ::mkdtemp(tmpl);
  path_ = p ? p : "/tmp";
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
  const std::string p = path_ + "/" + name;
  std::ofstream(p, std::ios::binary) << bytes;
  return p;
}

ScanFixture::ScanFixture() {
  const std::string work = dir.path() + "/work/";
  ::mkdir(work.c_str(), 0755);
  session.CreateWorkingFiles(work);
  session.SetToday({2026, 12, 9});
}

bool ScanFixture::ScanLog(const std::string& bytes) {
  // A new name each time: the previous scanner keeps its file mapped until the next scan.
  return session.Scan(dir.Write("log" + std::to_string(++scans_) + ".vnx", bytes));
}

std::vector<std::string> ScanFixture::ErrorLines() const {
  std::vector<std::string> lines = ErrorListLines(session.Errors());
  lines.erase(lines.begin());
  return lines;
}

std::string ScanFixture::WorkFile(const std::string& name) const {
  return ctx.files.Dir() + name;
}

std::string ScanFixture::ReadFileBytes(const std::string& path) const {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<EpochRec> ScanFixture::Epochs() const {
  RecordReader reader(WorkFile("DataEpochs.dat"), sizeof(EpochRec));
  std::vector<EpochRec> out;
  EpochRec rec;
  for (int32_t i = 0; i < ctx.epochCount && reader.Read(&rec); ++i) out.push_back(rec);
  return out;
}

std::vector<std::vector<SvRec>> ScanFixture::SatRecords() const {
  RecordReader reader(WorkFile("SVRecs.dat"), sizeof(SvRec));
  std::vector<std::vector<SvRec>> out;
  for (const EpochRec& e : Epochs()) {
    std::vector<SvRec> sats(static_cast<size_t>(e.satsWritten));
    for (auto& s : sats) reader.Read(&s);
    out.push_back(std::move(sats));
  }
  return out;
}

}  // namespace vnx::test
