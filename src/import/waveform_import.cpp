#include "import/waveform_import.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <system_error>

#include "import/database_import.h"
#include "import/export_text.h"
#include "platform/file_system.h"
#include "platform/text_file.h"
#include "signal/waveform_file.h"

namespace plexo {
namespace {

namespace fs = std::filesystem;

// Far beyond any waveform export; keeps a wrongly chosen file from filling the memory.
constexpr size_t kMaxExportBytes = size_t{512} << 20;

bool HasImportExtension(const std::string& name) {
  std::string ext = LowerCaseExtension(name);
  return ext == ".txt" || ext == ".csv" || ext == ".tradb";
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return fs::equivalent(a, b, error) && !error;
}

// What the kind line says beyond the kind: the header values that came from the file.
std::string KindLine(const std::string& name, const ExportContents& contents) {
  std::string line = name + ": " + std::string(ExportKindName(contents.kind)) + ", " +
                     std::to_string(contents.samples.size()) + " samples";
  if (contents.hitNumber) line += ", hit " + std::to_string(*contents.hitNumber);
  return line;
}

// Checks the request before anything is written; an empty text when it may go on.
std::string RefuseRequest(const ImportRequest& request) {
  if (request.target.empty()) return "No target folder given.";
  for (const std::string& input : request.inputs) {
    std::error_code error;
    if (!fs::exists(input, error)) return "Not found: " + input;
    if (IsDirectory(input) && SameFile(input, request.target))
      return "The target folder is the source folder " + input +
             ": choose another, so that imported files never mix with their sources.";
  }
  if (fs::exists(request.target) && !IsDirectory(request.target))
    return "The target is not a folder: " + request.target;
  std::error_code error;
  fs::create_directories(request.target, error);
  if (!IsDirectory(request.target)) return "The target folder cannot be made: " + request.target;
  return {};
}

}  // namespace

std::vector<std::string> ExportFilesOf(const std::string& input) {
  if (!IsDirectory(input)) return {input};
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(input, error), end; !error && it != end; it.increment(error)) {
    std::error_code type_error;
    if (!it->is_regular_file(type_error)) continue;
    const std::string name = it->path().filename().string();
    if (HasImportExtension(name)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  std::vector<std::string> paths;
  paths.reserve(names.size());
  for (const std::string& name : names) paths.push_back(JoinPath(input, name));
  return paths;
}

ExportKind RecogniseExportFile(const std::string& path) {
  std::FILE* file = OpenRegularFileStream(path);
  if (file == nullptr) return ExportKind::kUnknown;
  // The first lines of any export fit well within this; a file without line ends is not read
  // whole.
  constexpr size_t kHeadBytes = 64 * 1024;
  std::string head(kHeadBytes, '\0');
  head.resize(std::fread(head.data(), 1, head.size(), file));
  std::fclose(file);
  std::vector<std::string_view> lines = SplitExportLines(head);
  // The last line may be cut short; it is only looked at when it is among the first lines.
  if (lines.size() > static_cast<size_t>(kCsvFirstRowLine + 1)) lines.resize(kCsvFirstRowLine + 1);
  return RecogniseExport(lines);
}

std::string ImportedName(const std::string& input) {
  return fs::path(input).stem().string() + ".txt";
}

CalcStatus ImportWaveforms(const ImportRequest& request, CalcProgress& progress,
                           const ImportLog& log, ImportSummary& summary,
                           const ImportLog& imported) {
  summary = {};
  if (const std::string refusal = RefuseRequest(request); !refusal.empty()) {
    log(refusal);
    return CalcStatus::kRefused;
  }
  std::vector<std::string> files;
  for (const std::string& input : request.inputs) {
    const std::vector<std::string> listed = ExportFilesOf(input);
    if (listed.empty()) log("No .txt, .csv or .tradb files in " + input);
    files.insert(files.end(), listed.begin(), listed.end());
  }
  if (files.empty()) return CalcStatus::kRefused;

  // What is imported one by one: a text file, or a record of a database (listed up front, so
  // that the progress counts records).
  struct Item {
    size_t file;
    std::optional<DatabaseRecordInfo> record;
  };
  std::vector<Item> items;
  std::map<size_t, std::unique_ptr<WaveformDatabase>> databases;
  std::vector<std::string> unopened(files.size());
  for (size_t f = 0; f < files.size(); ++f) {
    if (!IsWaveformDatabasePath(files[f])) {
      items.push_back({f, std::nullopt});
      continue;
    }
    auto db = std::make_unique<WaveformDatabase>();
    std::vector<DatabaseRecordInfo> records;
    std::string why;
    if (!db->Open(files[f], why) || !db->List(request.selection, records, why)) {
      unopened[f] = why;
      items.push_back({f, std::nullopt});
      continue;
    }
    if (records.empty()) log(FileName(files[f]) + ": no record selected");
    for (const DatabaseRecordInfo& record : records) items.push_back({f, record});
    databases[f] = std::move(db);
  }

  progress.SetRange(0, static_cast<int>(items.size()));
  std::map<std::string, std::string> written;  // output name -> the input it came from
  DatabaseRecord record_workspace;
  for (size_t k = 0; k < items.size(); ++k) {
    progress.DrainMessages();
    if (progress.StopRequested()) return CalcStatus::kStopped;
    const std::string& path = files[items[k].file];
    const std::optional<DatabaseRecordInfo>& record = items[k].record;
    const std::string name =
        record ? FileName(path) + ": " + RecordName(record->trai) : FileName(path);
    ++summary.files;
    const auto refuse = [&](const std::string& why) {
      log(name + ": refused: " + why);
      ++summary.refused;
    };

    std::string text;
    std::string why;
    const RegularFileRead read = record || IsWaveformDatabasePath(path)
                                     ? RegularFileRead::kRead
                                     : ReadRegularFile(path, text, kMaxExportBytes, &why);
    if (!unopened[items[k].file].empty()) {
      refuse(unopened[items[k].file]);
    } else if (read != RegularFileRead::kRead) {
      refuse(read == RegularFileRead::kTooLarge ? "larger than any waveform export"
                                                : "cannot be read (" + why + ")");
    } else {
      const std::string out_name =
          record ? DatabaseRecordFileName(path, record->trai) : ImportedName(path);
      const std::string out_path = JoinPath(request.target, out_name);
      ExportContents contents =
          record ? DatabaseRecordContents(*databases[items[k].file], *record, record_workspace)
                 : ReadExportText(text, fs::path(path).stem().string(), request.options);
      contents.header.hitNumber = contents.hitNumber.value_or(-1);
      if (!contents.error.empty()) {
        refuse(contents.error);
      } else if (const auto earlier = written.find(out_name); earlier != written.end()) {
        refuse(out_name + " is already the import of " + earlier->second);
      } else if (SameFile(path, out_path)) {
        refuse("its import " + out_name + " would replace it");
      } else if (!request.force && fs::exists(out_path)) {
        refuse(out_name + " exists in the target folder and is not replaced");
        ++summary.notReplaced;
      } else {
        (imported ? imported : log)(KindLine(name, contents));
        for (const std::string& warning : contents.warnings) log(name + ": warning: " + warning);
        TextFileWriter out(out_path);
        WriteWaveformExact(out, contents.samples.data(), static_cast<int>(contents.samples.size()),
                           contents.header);
        if (out.Commit()) {
          ++summary.imported;
          summary.written.push_back(out_path);
          written[out_name] = name;
        } else {
          ReportFileError();
          log(name + ": " + out.Error());
          ++summary.failed;
        }
      }
    }
    progress.SetPos(static_cast<int>(k + 1));
  }
  if (summary.failed > 0) return CalcStatus::kFailed;
  if (summary.refused > 0) return CalcStatus::kRefused;
  return CalcStatus::kDone;
}

}  // namespace plexo
