#include "platform/fs/file_io.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/fs/device_path.h"
#include "platform/fs/errno_map.h"
#include "platform/win32/errors.h"

namespace fs {

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = ENOSPC;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

std::string DirectoryOf(const std::string& path) {
  auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Makes the rename itself durable.
void SyncDirectory(const std::string& dir) {
  int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

thread_local DurableBatch* t_batch = nullptr;

}  // namespace

// ---- Temporary files --------------------------------------------------------------

int CreateTemporaryBeside(const std::string& targetHostPath, std::string* tempHostPath, int* lockFd) {
  const auto slash = targetHostPath.rfind('/');
  const std::string base = slash == std::string::npos ? targetHostPath : targetHostPath.substr(slash + 1);
  const std::string templ = DirectoryOf(targetHostPath) + "/." + base + ".~XXXXXX";
  for (;;) {
    std::vector<char> name(templ.begin(), templ.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
      if (errno == ENOENT) {
        Fail(ERROR_PATH_NOT_FOUND);
      } else {
        FailWithErrno();
      }
      return -1;
    }
    // Locked at once; a cleaner that took the lock first (between the two
    // calls) has removed the name, so the file is made again.
    const int lock = ::open(name.data(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    if (lock >= 0 && ::flock(lock, LOCK_EX) == 0 && ::fstat(lock, &st) == 0 && st.st_nlink > 0) {
      *tempHostPath = name.data();
      *lockFd = lock;
      return fd;
    }
    const int e = errno;
    if (lock >= 0) ::close(lock);
    ::close(fd);
    if (lock < 0) {
      // The file could be made but not opened again: not a race to retry.
      ::unlink(name.data());
      FailWithErrno(e);
      return -1;
    }
  }
}

bool IsTemporaryFileName(std::string_view name) {
  // "." + at least one character + ".~" + six of mkstemp's characters.
  constexpr std::size_t kTail = 8;
  if (name.size() < 2 + kTail || name[0] != '.') return false;
  const std::string_view tail = name.substr(name.size() - kTail);
  if (tail[0] != '.' || tail[1] != '~') return false;
  for (char c : tail.substr(2))
    if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  return true;
}

int RemoveStaleTemporaryFiles(const std::string& hostFolder) {
  namespace stdfs = std::filesystem;
  int removed = 0;
  std::error_code ec;
  for (auto it = stdfs::recursive_directory_iterator(hostFolder, stdfs::directory_options::skip_permission_denied, ec);
       !ec && it != stdfs::recursive_directory_iterator(); it.increment(ec)) {
    if (!IsTemporaryFileName(it->path().filename().string())) continue;
    if (!it->is_regular_file(ec) || it->is_symlink(ec)) continue;
    const std::string path = it->path().string();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    // A writer that is alive holds the lock; a dead one's lock went with it.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlink(path.c_str()) == 0) ++removed;
    ::close(fd);
  }
  return removed;
}

// ---- DurableBatch ---------------------------------------------------------------

DurableBatch::DurableBatch() : m_outer(t_batch) { t_batch = this; }

DurableBatch::~DurableBatch() {
  // Batches end in the order they began; an outer one never ends first.
  if (t_batch == this) t_batch = m_outer;
}

DurableBatch* DurableBatch::Current() { return t_batch; }

void DurableBatch::Note(const std::string& hostFolder) {
  if (hostFolder == m_lastNoted) return;
  struct stat st;
  if (::stat(hostFolder.c_str(), &st) != 0) return;
  m_lastNoted = hostFolder;
  const auto device = static_cast<std::uint64_t>(st.st_dev);
  for (std::uint64_t d : m_devices)
    if (d == device) return;
  m_devices.push_back(device);
  m_folders.push_back(hostFolder);
}

bool DurableBatch::Sync() {
  // One syncfs per file system: every file written, and every rename that
  // put one in place, reaches the disk in one go, where a sync of each file
  // and of its folder would wait for the disk twice per file.
  bool ok = true;
  int error = 0;
  for (const std::string& folder : m_folders) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::syncfs(fd) != 0) {
      ok = false;
      error = errno;
    }
    if (fd >= 0) ::close(fd);
  }
  m_folders.clear();
  m_devices.clear();
  m_lastNoted.clear();
  return ok ? true : FailWithErrno(error);
}

// ---- FileReader -------------------------------------------------------------

FileReader::~FileReader() { Close(); }

bool FileReader::Open(std::u16string_view devicePath) {
  std::string host;
  if (!ToHostPath(devicePath, &host)) return false;
  return OpenHost(host);
}

bool FileReader::OpenHost(const std::string& hostPath) {
  Close();
  int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return FailWithErrno();
  struct stat st;
  if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    int e = S_ISDIR(st.st_mode) ? EISDIR : errno;
    ::close(fd);
    return FailWithErrno(e);
  }
  m_fd = fd;
  m_size = static_cast<std::uint64_t>(st.st_size);
  m_buffer.resize(kBufferSize);
  m_begin = m_end = 0;
  m_position = 0;
  return true;
}

void FileReader::Close() {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = -1;
  m_begin = m_end = 0;
}

bool FileReader::Fill() {
  m_begin = m_end = 0;
  for (;;) {
    ssize_t n = ::read(m_fd, m_buffer.data(), m_buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return FailWithErrno();
    m_end = static_cast<std::size_t>(n);
    if (n == 0) SetLastError(ERROR_HANDLE_EOF);
    return n > 0;
  }
}

std::size_t FileReader::Read(void* data, std::size_t size) {
  if (m_fd < 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  auto* out = static_cast<std::uint8_t*>(data);
  std::size_t done = 0;
  while (done < size) {
    if (m_begin == m_end) {
      // Large reads skip the buffer.
      if (size - done >= m_buffer.size()) {
        ssize_t n = ::read(m_fd, out + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
          FailWithErrno();
          break;
        }
        if (n == 0) {
          SetLastError(ERROR_HANDLE_EOF);
          break;
        }
        done += static_cast<std::size_t>(n);
        continue;
      }
      if (!Fill()) break;
    }
    std::size_t take = std::min(size - done, m_end - m_begin);
    std::memcpy(out + done, m_buffer.data() + m_begin, take);
    m_begin += take;
    done += take;
  }
  m_position += done;
  return done;
}

// ---- AtomicFileWriter ---------------------------------------------------------

AtomicFileWriter::~AtomicFileWriter() { Abort(); }

bool AtomicFileWriter::Open(std::u16string_view devicePath) {
  std::string host;
  if (!ToHostPath(devicePath, &host)) return false;
  return OpenHost(host);
}

bool AtomicFileWriter::OpenHost(const std::string& hostPath) {
  Abort();
  // Keep the old file's permissions; a new file gets the usual 0644.
  mode_t mode = 0644;
  struct stat st;
  if (::stat(hostPath.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return FailWithErrno(EISDIR);
    mode = st.st_mode & 07777;
  }
  std::string temp;
  int lock = -1;
  int fd = CreateTemporaryBeside(hostPath, &temp, &lock);
  if (fd < 0) return false;
  ::fchmod(fd, mode);
  m_fd = fd;
  m_lockFd = lock;
  m_target = hostPath;
  m_temp = temp;
  m_failed = false;
  m_buffer.clear();
  m_buffer.reserve(kBufferSize);
  return true;
}

bool AtomicFileWriter::FlushBuffer() {
  if (m_buffer.empty()) return true;
  bool ok = WriteAll(m_fd, m_buffer.data(), m_buffer.size());
  m_buffer.clear();
  if (!ok) {
    m_failed = true;
    return FailWithErrno();
  }
  return true;
}

bool AtomicFileWriter::Write(const void* data, std::size_t size) {
  if (m_fd < 0) return Fail(ERROR_INVALID_HANDLE);
  if (m_failed) return Fail(ERROR_WRITE_FAULT);
  const auto* p = static_cast<const std::uint8_t*>(data);
  if (m_buffer.size() + size > kBufferSize) {
    if (!FlushBuffer()) return false;
    if (size >= kBufferSize) {
      if (!WriteAll(m_fd, p, size)) {
        m_failed = true;
        return FailWithErrno();
      }
      return true;
    }
  }
  m_buffer.insert(m_buffer.end(), p, p + size);
  return true;
}

bool AtomicFileWriter::Commit() {
  if (m_fd < 0) return Fail(ERROR_INVALID_HANDLE);
  if (m_failed || !FlushBuffer()) {
    DWORD error = GetLastError();
    Abort();
    return Fail(error == ERROR_SUCCESS ? ERROR_WRITE_FAULT : error);
  }
  DurableBatch* batch = DurableBatch::Current();
  if (!batch && ::fsync(m_fd) != 0) {
    int e = errno;
    Abort();
    return FailWithErrno(e);
  }
  if (::close(m_fd) != 0) {
    int e = errno;
    m_fd = -1;
    Abort();
    return FailWithErrno(e);
  }
  m_fd = -1;
  // The lock stays until the file has its real name: a cleaner never takes
  // a file that is about to be renamed for a stale one.
  if (::rename(m_temp.c_str(), m_target.c_str()) != 0) {
    int e = errno;
    Abort();
    return FailWithErrno(e);
  }
  ::close(m_lockFd);
  m_lockFd = -1;
  m_temp.clear();
  NoteEntryAdded(m_target);
  if (batch) {
    batch->Note(DirectoryOf(m_target));
  } else {
    SyncDirectory(DirectoryOf(m_target));
  }
  return true;
}

void AtomicFileWriter::Abort() {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = -1;
  if (!m_temp.empty()) ::unlink(m_temp.c_str());
  if (m_lockFd >= 0) ::close(m_lockFd);
  m_lockFd = -1;
  m_temp.clear();
  m_buffer.clear();
}

// ---- Whole files ----------------------------------------------------------------

bool ReadHostFile(const std::string& hostPath, std::vector<std::uint8_t>* bytes) {
  FileReader reader;
  if (!reader.OpenHost(hostPath)) return false;
  std::vector<std::uint8_t> out;
  out.reserve(static_cast<std::size_t>(reader.Size()));
  std::uint8_t chunk[kBufferSize];
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    std::size_t n = reader.Read(chunk, sizeof chunk);
    out.insert(out.end(), chunk, chunk + n);
    if (n < sizeof chunk) {
      if (GetLastError() != ERROR_HANDLE_EOF && GetLastError() != ERROR_SUCCESS) return false;
      break;
    }
  }
  SetLastError(ERROR_SUCCESS);
  if (bytes) *bytes = std::move(out);
  return true;
}

bool WriteHostFileAtomic(const std::string& hostPath, const void* data, std::size_t size) {
  AtomicFileWriter writer;
  if (!writer.OpenHost(hostPath)) return false;
  if (!writer.Write(data, size)) return false;
  return writer.Commit();
}

bool ReadFile(std::u16string_view devicePath, std::vector<std::uint8_t>* bytes) {
  std::string host;
  if (!ToHostPath(devicePath, &host)) return false;
  return ReadHostFile(host, bytes);
}

bool WriteFileAtomic(std::u16string_view devicePath, const std::vector<std::uint8_t>& bytes) {
  std::string host;
  if (!ToHostPath(devicePath, &host)) return false;
  return WriteHostFileAtomic(host, bytes.data(), bytes.size());
}

bool WriteFileIfChanged(std::u16string_view devicePath, const std::vector<std::uint8_t>& bytes) {
  std::string host;
  if (!ToHostPath(devicePath, &host)) return false;
  struct stat st;
  if (::stat(host.c_str(), &st) == 0 && S_ISREG(st.st_mode) && static_cast<std::uint64_t>(st.st_size) == bytes.size()) {
    std::vector<std::uint8_t> old;
    if (ReadHostFile(host, &old) && old == bytes) return true;
  }
  return WriteHostFileAtomic(host, bytes.data(), bytes.size());
}

}  // namespace fs
