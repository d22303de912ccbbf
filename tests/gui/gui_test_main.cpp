// The GUI tests run offscreen, with a private home and settings store for the
// process, so that a first run really finds nothing stored.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "gui/app/application.h"
#include "gui/platform/settings_store.h"
#include "gui_test_support.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home(QDir::tempPath() + "/velmora-gui-XXXXXX");
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", home.path().toLocal8Bit());
    qputenv("USER", "velmora-test");
    qputenv("TMPDIR", home.path().toLocal8Bit());  // local sockets of this process only
    velmora::gui::VelmoraApplication app(argc, argv);
    velmora::gui::InitFolders();
    velmora::test::HomeDir() = home.path();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
