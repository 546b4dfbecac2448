#pragma once
// Where a batch (feature extraction, Average FFT, Average TFT) takes its waveforms from: an
// ordered list of inputs, each read on demand into the waveform workspace of the thread that
// processes it. The batches see only this interface, so that a folder of waveform files, a
// waveform database (.tradb) and any other supply of waveforms (held in memory, a list of paths)
// run through the same code and give the same results for the same waveforms.
//
// To add a source: derive from WaveformSource, fill `inputs_` in the order the results are to
// take, and implement Read. Read is called concurrently from several threads, each with its own
// Waveform; it must not change the source's state without a lock.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "signal/waveform.h"
#include "signal/waveform_database.h"

namespace plexo {

// One input of a batch.
struct WaveformInput {
  std::string name;   // what a result table calls it: the file name, or the TRAI ("17")
  std::string label;  // what a message calls it: the file's path, or "DB.tradb: TRAI 17"
};

class WaveformSource {
 public:
  virtual ~WaveformSource() = default;

  // The inputs in the order the batch takes them and writes their results.
  const std::vector<WaveformInput>& Inputs() const { return inputs_; }
  int Count() const { return static_cast<int>(inputs_.size()); }
  const std::string& Label(int k) const { return inputs_[static_cast<size_t>(k)].label; }

  // Reads input k into `wf` as ReadWaveform reads a file: header replaced, samples from index 0
  // (the first stored as 0), at most MAX_SAMPLES of them stored, `wf.samples` grown to
  // MAX_SAMPLES. Returns the input's sample count (it may exceed MAX_SAMPLES), or -1. The
  // reader's refusal is `wf.readProblem`, naming the input and saying why; empty means the read
  // succeeded, except for a waveform file, where an empty problem with a count <= 0 leaves the
  // caller to ask the file system why (WhyNotReadable of the label, which is then the path).
  // Every other source sets the problem whenever the count is <= 0.
  virtual int Read(int k, Waveform& wf) const = 0;

 protected:
  std::vector<WaveformInput> inputs_;
};

// The waveform files of a list of paths, read with ReadWaveform; named by file name.
class WaveformFiles : public WaveformSource {
 public:
  explicit WaveformFiles(const std::vector<std::string>& paths);
  int Read(int k, Waveform& wf) const override;
};

// The records of a waveform database in TRAI order, named by TRAI. Every thread reading at the
// same time gets a read-only connection of its own (kept for the later reads of any thread), so
// that the blob fetches and their decoding run side by side.
class DatabaseWaveforms : public WaveformSource {
 public:
  DatabaseWaveforms();
  ~DatabaseWaveforms() override;
  // Opens the database and lists the selected records. False with `why` naming the database
  // (a file that is not a waveform database, a table that cannot be read).
  bool Open(const std::string& path, const RecordSelection& selection, std::string& why);
  const std::string& Path() const { return path_; }
  int Read(int k, Waveform& wf) const override;

 private:
  struct Connection;
  std::unique_ptr<Connection> Take(std::string& why) const;
  void Give(std::unique_ptr<Connection> connection) const;

  std::string path_;
  std::vector<DatabaseRecordInfo> records_;
  mutable std::mutex mutex_;
  mutable std::vector<std::unique_ptr<Connection>> idle_;
};

// The inputs a batch names by one path: the records of a waveform database
// (IsWaveformDatabasePath), else the *.txt files of a folder in ListTxtFiles order. nullptr with
// `why` when the database cannot be used or the folder cannot be listed (FolderNotListedMessage).
std::unique_ptr<WaveformSource> ListWaveformSource(const std::string& input, std::string& why);

// The same inputs for another process of a launch that got the labels of the first process's
// listing: the files themselves for a folder, the database opened and listed again for a
// database (refused, with `why`, when it does not list the same records).
std::unique_ptr<WaveformSource> ReopenWaveformSource(const std::string& input,
                                                     const std::vector<std::string>& labels,
                                                     std::string& why);

// Where a batch over `input` writes its results: the folder `input`/`kind` for a folder, and
// `<stem>_<kind>` beside a database `<stem>.tradb` (nothing is written into a database).
std::string BatchResultFolder(const std::string& input, const std::string& kind);

}  // namespace plexo
