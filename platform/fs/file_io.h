// Reading and writing the system's data files.
//
// Every file the system writes is written to a temporary file beside it,
// flushed to the disk and renamed over the old one, so a crash, a kill or a
// full disk leaves either the old file or the new one, never half of either.
// A writer holds a lock on its temporary file while it is open, so the
// temporary files of writers that were killed can be told from those being
// written, and removed (RemoveStaleTemporaryFiles). Failures set the platform's last error (ERROR_FILE_NOT_FOUND,
// ERROR_ACCESS_DENIED, ERROR_DISK_FULL, ...).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fs {

// Whole files named by device paths ("\Program Files\mivo\mivo_fav.dat").
bool ReadFile(std::u16string_view devicePath, std::vector<std::uint8_t>* bytes);
bool WriteFileAtomic(std::u16string_view devicePath, const std::vector<std::uint8_t>& bytes);

// The same for host paths (tools that take host files on their command line).
bool ReadHostFile(const std::string& hostPath, std::vector<std::uint8_t>* bytes);
bool WriteHostFileAtomic(const std::string& hostPath, const void* data, std::size_t size);

// Writes the file only when its content differs from what is there (or it is
// missing): a file that did not change costs a read, not a write, two syncs
// and a rename.
bool WriteFileIfChanged(std::u16string_view devicePath, const std::vector<std::uint8_t>& bytes);

// Many files made durable at once (a new device's files, a package's). While
// a batch is open on a thread, each file that thread writes is still written
// whole to a temporary file and renamed into place (a kill leaves the old
// file or the new one), but not flushed to the disk on its own: Sync flushes
// all of them in one call. Whatever vouches for the files (a "done" marker)
// is written after Sync, so a power loss never leaves the marker without them.
// Batches nest; the innermost one collects.
class DurableBatch {
 public:
  DurableBatch();
  // Without Sync the files are complete but may not survive a power loss.
  ~DurableBatch();
  DurableBatch(const DurableBatch&) = delete;
  DurableBatch& operator=(const DurableBatch&) = delete;

  // Flushes the file systems written to since the batch opened (or since the
  // last Sync); false with the last error set when the disk reports a failure.
  bool Sync();

  // The thread's innermost open batch, or null. Writers call Note with the
  // folder of each file they renamed into place instead of syncing it.
  static DurableBatch* Current();
  void Note(const std::string& hostFolder);

 private:
  std::vector<std::string> m_folders;    // a folder written into on each file system touched
  std::vector<std::uint64_t> m_devices;  // those file systems (st_dev), parallel to m_folders
  std::string m_lastNoted;               // the folder noted last: files come many to a folder
  DurableBatch* m_outer = nullptr;       // the batch that was current before this one
};

// A new temporary file beside target (".NAME.~XXXXXX" in the same folder),
// open for reading and writing; -1 with the last error set when it cannot be
// made. The file is locked for as long as *lockFd (a second, read-only
// descriptor) stays open: close the written descriptor before the rename
// (watchers see the temporary's close, not the target's) and *lockFd after it.
int CreateTemporaryBeside(const std::string& targetHostPath, std::string* tempHostPath, int* lockFd);
// True for a name CreateTemporaryBeside makes.
bool IsTemporaryFileName(std::string_view name);
// Removes the temporary files that writers killed before they finished left
// in the tree under hostFolder (links are not followed); a file a live
// writer holds is left alone. Returns how many were removed.
int RemoveStaleTemporaryFiles(const std::string& hostFolder);

// Buffered reading of a file. Reads never trust the file: a short file gives
// what is there, and the caller sees the shortfall in the count returned.
class FileReader {
 public:
  FileReader() = default;
  ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  bool Open(std::u16string_view devicePath);
  bool OpenHost(const std::string& hostPath);
  void Close();
  bool IsOpen() const { return m_fd >= 0; }

  // Copies up to size bytes; returns how many were copied (less only at the
  // end of the file or on a read error, which sets the last error).
  std::size_t Read(void* data, std::size_t size);
  // True when exactly size bytes were read.
  bool ReadExact(void* data, std::size_t size) { return Read(data, size) == size; }
  // The file's size at opening.
  std::uint64_t Size() const { return m_size; }
  // Bytes consumed so far.
  std::uint64_t Position() const { return m_position; }

 private:
  bool Fill();

  int m_fd = -1;                      // host file descriptor
  std::vector<std::uint8_t> m_buffer; // read-ahead buffer
  std::size_t m_begin = 0;            // first unread byte in m_buffer
  std::size_t m_end = 0;              // one past the last valid byte in m_buffer
  std::uint64_t m_size = 0;           // size when opened
  std::uint64_t m_position = 0;       // bytes handed out
};

// Writing a file as a whole: bytes go to a temporary file beside the target;
// Commit flushes it and renames it into place. Without Commit (an error, an
// early return, a destroyed writer) the target is left as it was and the
// temporary file is removed.
class AtomicFileWriter {
 public:
  AtomicFileWriter() = default;
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  bool Open(std::u16string_view devicePath);
  bool OpenHost(const std::string& hostPath);
  bool Write(const void* data, std::size_t size);
  bool Commit();
  void Abort();
  bool IsOpen() const { return m_fd >= 0; }

 private:
  bool FlushBuffer();

  int m_fd = -1;                      // descriptor of the temporary file
  int m_lockFd = -1;                  // holds the temporary file's lock until it is renamed
  std::string m_target;               // host path to replace
  std::string m_temp;                 // host path of the temporary file
  std::vector<std::uint8_t> m_buffer; // bytes not yet written
  bool m_failed = false;              // a write failed: Commit refuses
};

}  // namespace fs
