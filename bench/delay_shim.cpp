// A slow file server, for the waiting benchmark: loaded with LD_PRELOAD, it adds
// VELMORA_DELAY_MS milliseconds to every file system call whose path lies under
// VELMORA_DELAY_PATH, then makes the call. A name given relative to an open folder counts
// with that folder's path, and listing an open folder counts as a call on it too, as it is a
// round trip to a server. Calls on other paths, and reads, writes and status of open files,
// are not slowed.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <string>

namespace {

void delay(const char* path)
{
    static const char* const slow = std::getenv("VELMORA_DELAY_PATH");
    static const long ms = [] {
        const char* text = std::getenv("VELMORA_DELAY_MS");
        return text ? std::atol(text) : 0L;
    }();
    if (!path || !slow || !*slow || ms <= 0 || std::strncmp(path, slow, std::strlen(slow)) != 0)
        return;
    timespec pause{ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&pause, &pause) != 0) {
    }
}

// The path of the open descriptor `fd`, empty when it has none.
std::string PathOf(int fd)
{
    char link[32];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char target[4096];
    const ssize_t size = readlink(link, target, sizeof target);
    return size > 0 ? std::string(target, std::size_t(size)) : std::string();
}

// Delays a call on `path`, a name in the folder open as `dir` unless absolute or AT_FDCWD.
// No name at all asks for the status of the open file itself, which is not slowed.
void delayAt(int dir, const char* path)
{
    if (!path || !*path)
        return;
    if (path[0] == '/' || dir == AT_FDCWD)
        delay(path);
    else
        delay((PathOf(dir) + '/' + path).c_str());
}

// The call that this one stands in front of.
template <typename Function> Function Next(Function, const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}
#define NEXT(name) Next(&(name), #name)

mode_t mode_of(int flags, va_list args)
{
    return (flags & (O_CREAT | O_TMPFILE)) ? static_cast<mode_t>(va_arg(args, int)) : 0;
}

} // namespace

extern "C" {
// These stand in for the C library's functions, whose headers name the parameters their own
// way. NOLINTBEGIN(readability-inconsistent-declaration-parameter-name)

int open(const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_of(flags, args);
    va_end(args);
    delay(path);
    return NEXT(open)(path, flags, mode);
}

int open64(const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_of(flags, args);
    va_end(args);
    delay(path);
    return NEXT(open64)(path, flags, mode);
}

int openat(int dir, const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_of(flags, args);
    va_end(args);
    delayAt(dir, path);
    return NEXT(openat)(dir, path, flags, mode);
}

int openat64(int dir, const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_of(flags, args);
    va_end(args);
    delayAt(dir, path);
    return NEXT(openat64)(dir, path, flags, mode);
}

DIR* opendir(const char* path)
{
    delay(path);
    return NEXT(opendir)(path);
}

int stat(const char* path, struct stat* info)
{
    delay(path);
    return NEXT(stat)(path, info);
}

int lstat(const char* path, struct stat* info)
{
    delay(path);
    return NEXT(lstat)(path, info);
}

int stat64(const char* path, struct stat64* info)
{
    delay(path);
    return NEXT(stat64)(path, info);
}

int lstat64(const char* path, struct stat64* info)
{
    delay(path);
    return NEXT(lstat64)(path, info);
}

int fstatat(int dir, const char* path, struct stat* info, int flags)
{
    delayAt(dir, path);
    return NEXT(fstatat)(dir, path, info, flags);
}

int fstatat64(int dir, const char* path, struct stat64* info, int flags)
{
    delayAt(dir, path);
    return NEXT(fstatat64)(dir, path, info, flags);
}

int statx(int dir, const char* path, int flags, unsigned int mask, struct statx* info)
{
    delayAt(dir, path);
    return NEXT(statx)(dir, path, flags, mask, info);
}

ssize_t getdents64(int fd, void* buffer, size_t size)
{
    delay(PathOf(fd).c_str());
    return NEXT(getdents64)(fd, buffer, size);
}

int statfs(const char* path, struct statfs* info)
{
    delay(path);
    return NEXT(statfs)(path, info);
}

int access(const char* path, int mode)
{
    delay(path);
    return NEXT(access)(path, mode);
}

int mkdir(const char* path, mode_t mode)
{
    delay(path);
    return NEXT(mkdir)(path, mode);
}

int rename(const char* from, const char* to)
{
    delay(from);
    return NEXT(rename)(from, to);
}

int renameat(int fromDir, const char* from, int toDir, const char* to)
{
    delayAt(fromDir, from);
    return NEXT(renameat)(fromDir, from, toDir, to);
}

int unlink(const char* path)
{
    delay(path);
    return NEXT(unlink)(path);
}

int rmdir(const char* path)
{
    delay(path);
    return NEXT(rmdir)(path);
}

int mkostemp(char* pattern, int flags)
{
    delay(pattern);
    return NEXT(mkostemp)(pattern, flags);
}

// NOLINTEND(readability-inconsistent-declaration-parameter-name)
} // extern "C"
