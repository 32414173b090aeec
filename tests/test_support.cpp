#include "test_support.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace quorvel::testing {
namespace fs = std::filesystem;

namespace {
const bool kTestClockSet = ::setenv("SOURCE_DATE_EPOCH", kTestClock, 1) == 0;
}  // namespace

ScratchDir::ScratchDir() {
  static std::atomic<int> counter{0};
  root = fs::temp_directory_path() /
         ("quorvel-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  fs::remove_all(root);
  fs::create_directories(root);
}

ScratchDir::~ScratchDir() {
  std::error_code error;
  fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, error);
  fs::remove_all(root, error);
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

bool FileExists(const std::string& path) {
  std::error_code error;
  return fs::exists(path, error);
}

RunResult RunProgram(const std::vector<std::string>& command, const std::string& folder,
                     long file_size_limit) {
  int pipe_ends[2];
  if (command.empty() || ::pipe(pipe_ends) != 0) return {"", -1000, ""};
  // Standard error goes to an unnamed file, read after the program ended, so that neither
  // stream can fill its pipe while the other is being read.
  std::FILE* errors = std::tmpfile();
  pid_t child = ::fork();
  if (child == 0) {
    ::dup2(pipe_ends[1], STDOUT_FILENO);
    int null = ::open("/dev/null", O_WRONLY);
    int error_file = errors != nullptr ? ::fileno(errors) : null;
    if (error_file >= 0) ::dup2(error_file, STDERR_FILENO);
    ::close(pipe_ends[0]);
    ::close(pipe_ends[1]);
    if (::chdir(folder.c_str()) != 0) ::_exit(127);
    if (file_size_limit > 0) {
      struct rlimit limit = {static_cast<rlim_t>(file_size_limit),
                             static_cast<rlim_t>(file_size_limit)};
      ::signal(SIGXFSZ, SIG_IGN);
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    std::vector<std::string> copies = command;
    std::vector<char*> argv;
    for (std::string& arg : copies) argv.push_back(arg.data());
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(pipe_ends[1]);
  RunResult result{"", -1, ""};
  char chunk[4096];
  ssize_t got;
  while ((got = ::read(pipe_ends[0], chunk, sizeof chunk)) > 0) result.output.append(chunk, got);
  ::close(pipe_ends[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (errors != nullptr) {
    std::rewind(errors);
    for (int c; (c = std::fgetc(errors)) != EOF;) result.errors += static_cast<char>(c);
    std::fclose(errors);
  }
  return result;
}

RunResult RunQuorvelcon(const std::vector<std::string>& args, const std::string& folder,
                        long file_size_limit) {
  std::vector<std::string> command{QUORVELCON_PATH};
  command.insert(command.end(), args.begin(), args.end());
  return RunProgram(command, folder, file_size_limit);
}

std::string RealDataDir() {
  fs::path dir = QUORVEL_REALDATA_DIR;
  std::error_code error;
  return fs::is_directory(dir, error) ? fs::canonical(dir).string() : std::string{};
}

std::string LowerAscii(std::string text) {
  for (char& c : text) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  return text;
}

std::vector<AdifFields> ParseAdifRecords(const std::string& text, bool contacts_only) {
  std::vector<AdifFields> records;
  std::size_t eoh = LowerAscii(text).find("<eoh>");
  std::size_t at = eoh == std::string::npos ? 0 : eoh + 5;
  AdifFields fields;
  while ((at = text.find('<', at)) != std::string::npos) {
    std::size_t close = text.find('>', at);
    if (close == std::string::npos) break;
    std::string tag = LowerAscii(text.substr(at + 1, close - at - 1));
    std::size_t colon = tag.find(':');
    std::string name = tag.substr(0, colon);
    at = close + 1;
    if (name == "eor") {
      if (!contacts_only || fields.count("call") || fields.count("qso_date")) {
        records.push_back(fields);
      }
      fields.clear();
    } else if (colon != std::string::npos) {
      std::size_t length = std::stoul(tag.substr(colon + 1));
      fields[name] = text.substr(at, length);
      at += length;
    }
  }
  return records;
}

std::string FieldOf(const AdifFields& fields, const std::string& name) {
  auto found = fields.find(name);
  return found == fields.end() ? std::string{} : found->second;
}

}  // namespace quorvel::testing
