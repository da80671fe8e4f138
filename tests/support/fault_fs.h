// The one file system for tests that need the disk to fail: it passes every call on to another
// file system and fails the nth call of a kind (only that one, or from then on) with a chosen
// errno, as a full disk, a file held open elsewhere or a failing flush would. It also writes
// down every call that can fail, so that a test can see what a writer did and in which order.
#pragma once

#include <cerrno>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/filesystem.h"
#include "platform/services.h"

namespace test_support {

// The calls that can fail (a query such as fileExists answers, it does not fail). writeAll
// stands for the three whole-file writes.
enum class FsCall { any, createFolder, deleteFile, copyFile, renameFile, readAll, writeAll, flushFolder };

struct Fault {
    FsCall call = FsCall::any;
    int nth = 0;                    // the matching call that fails, counted from 1; 0: none fails
    bool persistent = false;        // also every matching call after it
    int error = EIO;                // errno of a failed call
    std::string pathContains;       // only calls with a path containing this count
    std::function<void()> instead;  // run at the fault in place of failing (a test's kill)
};

// The nth call of a kind whose path contains `pathContains` fails (with `persistent`, every
// later one too) with errno `error`.
inline Fault failCall(FsCall call, int nth, bool persistent = false, int error = EIO, std::string pathContains = {}) {
    Fault fault;
    fault.call = call;
    fault.nth = nth;
    fault.persistent = persistent;
    fault.error = error;
    fault.pathContains = std::move(pathContains);
    return fault;
}

class FaultyFileSystem : public platform::ForwardingFileSystem {
public:
    struct Call {
        FsCall kind;
        std::string path;  // for a copy or a rename, "from -> to"
        bool failed;
    };

    explicit FaultyFileSystem(Fault fault = {}, platform::FileSystem& target = platform::realFileSystem())
        : ForwardingFileSystem(target), fault_(std::move(fault)) {}

    // Counts matching calls afresh for a new fault.
    void arm(Fault fault) {
        fault_ = std::move(fault);
        matched_ = 0;
        failures_ = 0;
    }
    // How many calls the fault has failed so far.
    int failures() const { return failures_; }
    const std::vector<Call>& calls() const { return calls_; }
    // The paths of the calls of one kind, in order.
    std::vector<std::string> pathsOf(FsCall kind) const {
        std::vector<std::string> paths;
        for (const auto& c : calls_)
            if (c.kind == kind) paths.push_back(c.path);
        return paths;
    }
    void forgetCalls() { calls_.clear(); }

    bool createFolder(const std::string& p) override {
        return pass(FsCall::createFolder, p, [&] { return ForwardingFileSystem::createFolder(p); });
    }
    bool deleteFile(const std::string& p) override {
        return pass(FsCall::deleteFile, p, [&] { return ForwardingFileSystem::deleteFile(p); });
    }
    bool copyFile(const std::string& f, const std::string& t, bool o) override {
        return pass(FsCall::copyFile, f + " -> " + t, [&] { return ForwardingFileSystem::copyFile(f, t, o); });
    }
    bool renameFile(const std::string& f, const std::string& t) override {
        return pass(FsCall::renameFile, f + " -> " + t, [&] { return ForwardingFileSystem::renameFile(f, t); });
    }
    std::optional<std::string> readAll(const std::string& p) override {
        std::optional<std::string> bytes;
        pass(FsCall::readAll, p, [&] { return (bytes = ForwardingFileSystem::readAll(p)).has_value(); });
        return bytes;
    }
    bool writeAll(const std::string& p, const std::string& b) override {
        return pass(FsCall::writeAll, p, [&] { return ForwardingFileSystem::writeAll(p, b); });
    }
    bool writeAllFlushed(const std::string& p, const std::string& b) override {
        return pass(FsCall::writeAll, p, [&] { return ForwardingFileSystem::writeAllFlushed(p, b); });
    }
    bool writeAllCached(const std::string& p, const std::string& b) override {
        return pass(FsCall::writeAll, p, [&] { return ForwardingFileSystem::writeAllCached(p, b); });
    }
    bool flushFolder(const std::string& f) override {
        return pass(FsCall::flushFolder, f, [&] { return ForwardingFileSystem::flushFolder(f); });
    }

private:
    template <class Forward>
    bool pass(FsCall kind, const std::string& path, Forward&& forward) {
        const bool matches =
            (fault_.call == FsCall::any || fault_.call == kind) && path.find(fault_.pathContains) != std::string::npos;
        const bool fails =
            matches && fault_.nth > 0 && (++matched_ == fault_.nth || (fault_.persistent && matched_ > fault_.nth));
        if (fails && fault_.instead) fault_.instead();
        if (fails && !fault_.instead) {
            ++failures_;
            calls_.push_back({kind, path, true});
            errno = fault_.error;
            return false;
        }
        calls_.push_back({kind, path, false});
        return forward();
    }

    Fault fault_;
    int matched_ = 0, failures_ = 0;
    std::vector<Call> calls_;
};

// Installs a file system for a scope and puts back the one before.
class UsingFileSystem {
public:
    explicit UsingFileSystem(platform::FileSystem& files) : before_(platform::useFileSystem(&files)) {}
    ~UsingFileSystem() { platform::useFileSystem(before_); }
    UsingFileSystem(const UsingFileSystem&) = delete;
    UsingFileSystem& operator=(const UsingFileSystem&) = delete;

private:
    platform::FileSystem* before_;
};

}  // namespace test_support
