#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <streambuf>
#include <unistd.h>

#include "cli/Cli.h"
#include "cli/Support.h"

namespace {

// Standard output through write(2), remembering the first failure, so that
// a full disk or a closed pipe is reported, not lost.
class FdOutput : public std::streambuf {
public:
    explicit FdOutput(int fd) : fd_(fd) { setp(buffer_, buffer_ + sizeof buffer_); }
    ~FdOutput() override { Flush(); }
    // 0 when every byte was written, otherwise the errno of the first failure.
    int Flush() {
        for (const char* p = pbase(); p < pptr() && error_ == 0;) {
            const ssize_t n = ::write(fd_, p, static_cast<std::size_t>(pptr() - p));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) error_ = n < 0 ? errno : EIO;
            else p += n;
        }
        setp(buffer_, buffer_ + sizeof buffer_);
        return error_;
    }

protected:
    int_type overflow(int_type c) override {
        Flush();
        if (!traits_type::eq_int_type(c, traits_type::eof())) sputc(traits_type::to_char_type(c));
        return traits_type::not_eof(c);
    }
    int sync() override { return Flush() == 0 ? 0 : -1; }

private:
    int fd_;
    int error_ = 0;
    char buffer_[1 << 16];
};

// A closed standard descriptor gets a stand-in that fails every use the
// same way (bad file descriptor), so that no file this program opens can
// take its number and receive what was meant for the stream.
void HoldStandardDescriptors() {
    for (int fd = 0; fd <= 2; ++fd)
        if (::fcntl(fd, F_GETFD) < 0 && errno == EBADF) (void)::open("/dev/null", fd == 0 ? O_WRONLY : O_RDONLY);
}

}  // namespace

int main(int argc, char** argv) {
    HoldStandardDescriptors();
    std::ios::sync_with_stdio(false);
    FdOutput output(STDOUT_FILENO);
    std::ostream out(&output);
    int status = kestrane::RunCli(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc), out, std::cerr);
    if (const int error = output.Flush(); error != 0) {
        std::cerr << "kestrane-msn: cannot write to standard output: " << kestrane::cli::LowerFirst(std::strerror(error))
                  << "\n";
        status = kestrane::kExitFailed;
    }
    return status;
}
