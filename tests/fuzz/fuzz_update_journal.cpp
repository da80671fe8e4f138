// The update's install record ("updatejournal.txt") as the next start finds it: a kill may
// have cut it anywhere, and it lies in the user's installation. Whatever it holds, what the
// recovery reads names only clean paths inside the installation, reads back the same when
// written again, and the recovery touches nothing outside the installation.
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "core/update_journal.h"
#include "fuzz_support.h"
#include "platform/registry_store.h"
#include "platform/services.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto registry = [] {
        auto r = platform::makeMemoryRegistry();
        platform::useRegistryStore(r.get());
        return r;
    }();
    const std::string_view text = fuzz::bytesOf(data, size);
    const plorin::InstallRecord record = plorin::parseInstallRecord(text);
    for (const auto& file : record.files)
        if (!plorin::isCleanRelativePath(file.path)) fuzz::fail("the record names a path outside the installation");
    for (const auto& folder : record.folders)
        if (!plorin::isCleanRelativePath(folder)) fuzz::fail("the record names a folder outside the installation");
    const std::string again = plorin::installRecordText(record);
    if (plorin::installRecordText(plorin::parseInstallRecord(again)) != again)
        fuzz::fail("the record does not read back as written");

    // An installation beside a file of the user's that no recovery may touch.
    const fs::path base = fuzz::scratch().path();
    const fs::path root = base / "install";
    fs::remove_all(root);
    fs::create_directories(root / "updater");
    fs::create_directories(root / "program");
    fuzz::scratch().put("install/program/libplorin.so", "library");
    fuzz::scratch().put("install/program/libplorin.so.update-old", "old library");
    fuzz::scratch().put("outside.txt", "the user's");
    fuzz::scratch().put("install/updater/updatejournal.txt", text);
    plorin::recoverInstall((root / "updater" / "updatejournal.txt").string());
    if (fuzz::readFile(fuzz::scratch().file("outside.txt")) != "the user's")
        fuzz::fail("the recovery touched a file outside the installation");
    for (const auto& entry : fs::directory_iterator(base))
        if (entry.path().filename() != "install" && entry.path().filename() != "outside.txt")
            fuzz::fail("the recovery made something outside the installation");
    return 0;
}
