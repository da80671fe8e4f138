// Every writer of the installation and of the settings meets a disk that fails: the first call
// that can fail, then the second, and so on until the writer runs through without meeting the
// fault; once (only that call fails) and from then on (every later call fails too). After each
// run: nothing crashed, a failure was not told as success, and what is stored is the old
// version or the new one, whole, never a mix.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>
#include <string>

#include "core/registry.h"
#include "core/update_journal.h"
#include "core/usage_counters.h"
#include "libraries/my_elements.h"
#include "libraries/thumbnails.h"
#include "platform/xml_dom.h"
#include "settings/settings_dialog.h"
#include "tests/libraries/library_fixture.h"
#include "tests/support/fault_fs.h"
#include "tests/support/file_reading.h"
#include "updater/update_files.h"

namespace {

using test_support::Fault;
using test_support::FaultyFileSystem;

class Writers;

// One writer: `prepare` stores the old version (on a sound disk), `write` makes the new one
// and says whether the system told success, `stored` is what a reader finds afterwards, and
// `nextStart` is what the system does at its next start (recovery, a retry) before that.
struct Writer {
    const char* name;
    std::function<void(Writers&)> prepare;
    std::function<bool(Writers&)> write;
    std::function<std::string(Writers&)> stored;
    std::function<void(Writers&)> nextStart = [](Writers&) {};
    // After the next start only the new version will do (what was asked for is never lost).
    bool alwaysNew = false;
};

class Writers : public testing_core::LibraryFixture, public ::testing::WithParamInterface<Writer> {
protected:
    void SetUp() override {
        LibraryFixture::SetUp();
        registryFile = root + "user/registry.reg";
        fileRegistry = platform::makeFileRegistry(registryFile);
        platform::useRegistryStore(fileRegistry.get());  // put back with the other services
        plorin::state().layout = plorin::computeFolderLayout(root + "program/");
    }

public:
    // The fixture's helpers, for the rows.
    using LibraryFixture::indexPath;
    using LibraryFixture::library;
    using LibraryFixture::root;
    using LibraryFixture::saveDeck;
    using LibraryFixture::styleFile;
    using LibraryFixture::writeFile;

    // What the settings file holds for these names, read afresh.
    std::string settings(std::initializer_list<const char*> names) const {
        auto reader = platform::makeFileRegistry(registryFile);
        std::string text;
        for (const char* name : names) {
            const auto value = reader->queryValue(platform::RootKey::CurrentUser, plorin::kSettingsKey, name);
            text += std::string(name) + "=" + (value ? value->data.c_str() : "(missing)") + "\n";
        }
        return text;
    }
    static void set(const char* name, const std::string& value) { plorin::setRegistry(name, value, ""); }
    // No error report and no message: the user was told nothing went wrong.
    bool quiet() const { return plorin::reportedErrors().empty() && driver.messages.empty(); }

    std::string registryFile;
    std::unique_ptr<platform::RegistryStore> fileRegistry;
    plorin::ThumbnailSettings thumbnailSettings;
    std::string updateBase;
    plorinrenew::UpdateList updateList;
};

// A file's bytes, short: their count and a hash (FNV-1a).
std::string digest(const std::string& bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const unsigned char c : bytes) hash = (hash ^ c) * 1099511628211ull;
    return std::to_string(bytes.size()) + " bytes #" + std::to_string(hash);
}

std::string folderText(const std::string& folder) {
    std::ostringstream text;
    for (const auto& [name, bytes] : test_support::readFolder(folder)) text << name << ": " << digest(bytes) << "\n";
    return text.str();
}

// The installation as the add-ins find it: without what an install keeps for its own
// recovery (the record, replaced files kept, files staged), which its next start clears.
std::string installedText(const std::string& folder) {
    auto endsWith = [](const std::string& name, const std::string& end) {
        return name.size() >= end.size() && name.compare(name.size() - end.size(), end.size(), end) == 0;
    };
    std::ostringstream text;
    for (const auto& [name, bytes] : test_support::readFolder(folder))
        if (!endsWith(name, plorin::kKeptSuffix) && !endsWith(name, plorin::kStagedSuffix) &&
            !endsWith(name, plorin::kJournalName))
            text << name << ": " << digest(bytes) << "\n";
    return text.str();
}

// ---- The writers --------------------------------------------------------------------------

const Writer kSetting{
    "Setting",
    [](Writers& w) {
        w.set("thumbsWidth", "100");
        w.set("screenSaverOff", "0");
    },
    [](Writers& w) {
        plorin::setRegistry("thumbsWidth", "200", "");
        return w.quiet();
    },
    [](Writers& w) {
        return w.settings({"thumbsWidth", "screenSaverOff"});
    },
};

const Writer kUsageCounter{
    "UsageCounter",
    [](Writers& w) {
        plorin::flushUsageCounters();
        w.set("statsMyElements", "5");
    },
    [](Writers& w) {
        plorin::raiseUsageCounter("statsMyElements");
        plorin::flushUsageCounters();
        return w.quiet();
    },
    [](Writers& w) { return w.settings({"statsMyElements"}); },
    [](Writers&) { plorin::flushUsageCounters(); },  // the timer's next tick
    true,
};

const Writer kSettingsDialog{
    "SettingsDialog",
    [](Writers& w) {
        w.set("screenSaverOff", "0");
        w.set("languages", "1031");
        plorin::state().screenSaverOff = false;
    },
    [](Writers& w) {
        plorin::Settings dialog;
        dialog.Load();
        dialog.cbScreensaver.setValue(1);
        platform::driver::click(dialog, "btnSave");
        // A save that fails is reported once and leaves the dialog open, to save again or cancel.
        EXPECT_EQ(dialog.loaded(), !plorin::reportedErrors().empty());
        EXPECT_LE(plorin::reportedErrors().size(), 1u);
        return !dialog.loaded() && w.quiet();
    },
    [](Writers& w) {
        return w.settings({"screenSaverOff", "languages"});
    },
};

const Writer kMyElementsIndex{
    "MyElementsIndex",
    [](Writers& w) {
        w.writeFile(w.indexPath(), "<Varnotel addinVersion=\"1.0\"><group name=\"A\"/></Varnotel>");
        plorin::loadMyElementsIndex();
    },
    [](Writers& w) {
        auto& index = *plorin::state().myElementsDocument;
        index.selectSingleNode("/Varnotel").appendChild(index.createElement("group")).setAttribute("name", "B");
        return plorin::trap("test, save", [] { plorin::saveMyElementsIndex(); }) && w.quiet();
    },
    [](Writers& w) { return test_support::readFile(w.indexPath()); },
};

// A thumbnail counts as stored once its date says so: without it, it is drawn again.
const Writer kSlideWizardThumbnails{
    "SlideWizardThumbnails",
    [](Writers& w) {
        std::filesystem::remove_all(w.root + "customization/styles/thumbs");
        w.saveDeck(w.styleFile("a.ppt"), {{{10, 10, 100, 50}}, {{20, 20, 50, 50}}});
        w.writeFile(
            w.root + "customization/menu.xml",
            "<Varnotel><style name=\"Blue\" folder=\"blue\"/><menu name=\"M\"><submenu name=\"S\">"
            "<menuitem name=\"a\" file=\"a.ppt\" slideNo=\"1\"/><menuitem name=\"b\" file=\"a.ppt\" slideNo=\"2\"/>"
            "</submenu></menu></Varnotel>");
        ASSERT_TRUE(plorin::loadMenuFile(plorin::kRibbonMenuFileLead));
        w.set("thumbsDate_slideWizard", "0");
        w.thumbnailSettings = plorin::readThumbnailSettings();
    },
    [](Writers& w) {
        return plorin::createSlideWizardThumbs(w.thumbnailSettings) && w.thumbnailSettings.slideWizardDate > 0 &&
               w.quiet();
    },
    [](Writers& w) {
        if (w.settings({"thumbsDate_slideWizard"}) == "thumbsDate_slideWizard=0\n") return std::string("not drawn");
        return "drawn\n" + folderText(w.root + "customization/styles/thumbs/");
    },
};

// The same for My Elements (its record of what each picture was drawn from names file stamps,
// which differ from run to run, so only the pictures are compared).
const Writer kMyElementsThumbnails{
    "MyElementsThumbnails",
    [](Writers& w) {
        std::filesystem::remove_all(w.root + "user/myelements/thumbs");
        w.saveDeck(w.library(), {{{10, 10, 100, 50}}, {{20, 20, 50, 50}}});  // slides 256 and 257
        w.writeFile(w.indexPath(),
                    "<Varnotel addinVersion=\"1.0\"><group name=\"A\"><element name=\"a\" "
                    "slideID=\"256\"/><element name=\"b\" slideID=\"257\"/></group></Varnotel>");
        plorin::loadMyElementsIndex();
        w.set("thumbsDate_myElements", "0");
        w.thumbnailSettings = plorin::readThumbnailSettings();
    },
    [](Writers& w) {
        plorin::createMyElementsThumbs(w.thumbnailSettings);
        return w.thumbnailSettings.myElementsDate > 0 && w.quiet();
    },
    [](Writers& w) {
        if (w.settings({"thumbsDate_myElements"}) == "thumbsDate_myElements=0\n") return std::string("not drawn");
        std::filesystem::remove(w.root + "user/myelements/thumbs/drawn.txt");
        return "drawn\n" + folderText(w.root + "user/myelements/thumbs/");
    },
};

// An update replacing one file, adding one in a new folder and recording its version.
const Writer kUpdateInstall{
    "UpdateInstall",
    [](Writers& w) {
        w.updateBase = w.root + "update/";
        std::filesystem::remove_all(w.updateBase);
        w.writeFile(w.updateBase + "install/program/libplorin.so", "old library");
        w.writeFile(w.updateBase + "install/customization/copyright.txt", "(c) old");
        w.writeFile(w.updateBase + "source/program/libplorin.so", "new library");
        w.writeFile(w.updateBase + "source/customization/logos/new.png", "png");
        w.updateList = {{"program/libplorin.so", 11, ""}, {"customization/logos/new.png", 3, ""}};
        w.set("autoUpdateProgramVersion", "1.0.0.4");
    },
    [](Writers& w) {
        plorinrenew::InstallOptions options;
        options.settings = {{"autoUpdateProgramVersion", "1.0.0.5"}};
        const std::string root = w.updateBase + "install/";
        return plorinrenew::installFiles(w.updateBase + "source/", root, w.updateList,
                                         root + "program/" + plorinrenew::kJournalName, w.updateBase + "log.txt",
                                         options) &&
               w.quiet();
    },
    [](Writers& w) { return installedText(w.updateBase + "install/") + w.settings({"autoUpdateProgramVersion"}); },
    [](Writers& w) { plorinrenew::recoverInstall(w.updateBase + "install/program/" + plorinrenew::kJournalName); },
};

// The next start after an install cut off half-way puts the old files back.
const Writer kUpdateRecovery{
    "UpdateRecovery",
    [](Writers& w) {
        w.updateBase = w.root + "update/";
        std::filesystem::remove_all(w.updateBase);
        const std::string root = w.updateBase + "install/";
        w.writeFile(root + "program/libplorin.so", "new library");
        w.writeFile(root + std::string("program/libplorin.so") + plorin::kKeptSuffix, "old library");
        w.writeFile(root + std::string("customization/copyright.txt") + plorin::kStagedSuffix, "(c) new");
        w.writeFile(root + "customization/copyright.txt", "(c) old");
        w.writeFile(root + "customization/logos/new.png", "png");
        plorin::InstallRecord record;
        record.files = {{"program/libplorin.so", true},
                        {"customization/copyright.txt", true},
                        {"customization/logos/new.png", false}};
        record.folders = {"customization/logos"};
        w.writeFile(root + "program/" + plorinrenew::kJournalName, plorin::installRecordText(record));
    },
    [](Writers& w) {
        return plorinrenew::recoverInstall(w.updateBase + "install/program/" + plorinrenew::kJournalName) && w.quiet();
    },
    [](Writers& w) { return folderText(w.updateBase + "install/"); },
    [](Writers& w) { plorinrenew::recoverInstall(w.updateBase + "install/program/" + plorinrenew::kJournalName); },
    true,
};

// ---- The sweep ----------------------------------------------------------------------------

TEST_P(Writers, EveryFailingCallLeavesTheOldOrTheNewVersionAndIsNeverToldAsSuccess) {
    const Writer& writer = GetParam();
    FaultyFileSystem disk;
    test_support::UsingFileSystem using_(disk);
    auto run = [&](const Fault& fault) {
        writer.prepare(*this);
        plorin::reportedErrors().clear();
        driver.messages.clear();
        disk.forgetCalls();
        disk.arm(fault);
        const bool told = writer.write(*this);
        const int failures = disk.failures();
        disk.arm({});
        return std::pair{told, failures};
    };

    // On a sound disk: the new version.
    writer.prepare(*this);
    const std::string oldVersion = writer.stored(*this);
    ASSERT_TRUE(run({}).first) << "a sound disk";
    ASSERT_FALSE(disk.calls().empty()) << "the writer goes through the file system";
    const std::string newVersion = writer.stored(*this);
    ASSERT_NE(oldVersion, newVersion);

    for (const bool persistent : {false, true}) {
        for (int n = 1;; ++n) {
            const int error = persistent ? ENOSPC : EIO;
            const auto [told, failures] = run(test_support::failCall(test_support::FsCall::any, n, persistent, error));
            const std::string afterwards = writer.stored(*this);
            const std::string where = std::string(persistent ? "from" : "only") + " call " + std::to_string(n);
            if (told) {
                EXPECT_EQ(afterwards, newVersion) << where << ": told as success";
            }
            writer.nextStart(*this);
            const std::string settled = writer.stored(*this);
            if (writer.alwaysNew || settled != oldVersion) {
                EXPECT_EQ(settled, newVersion) << where << (writer.alwaysNew ? ": lost" : ": neither old nor new");
            }
            if (failures == 0) {
                EXPECT_TRUE(told) << where << ": nothing failed";
                break;
            }
            ASSERT_LT(n, 200) << "a writer that never ends";
        }
    }
}

void PrintTo(const Writer& writer, std::ostream* out) { *out << writer.name; }

INSTANTIATE_TEST_SUITE_P(AllWriters, Writers,
                         ::testing::Values(kSetting, kUsageCounter, kSettingsDialog, kMyElementsIndex,
                                           kSlideWizardThumbnails, kMyElementsThumbnails, kUpdateInstall,
                                           kUpdateRecovery),
                         [](const ::testing::TestParamInfo<Writer>& info) { return std::string(info.param.name); });

}  // namespace
