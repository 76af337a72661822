#include <ui/application.h>

#include <QTemporaryDir>

#include <gtest/gtest.h>

// Widget tests need one application object for the whole run, set up as the program sets up its own.
int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    // Widget tests draw off screen unless a test asks for a particular screen setup.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a session's runtime directory the toolkit would make one in /tmp and leave it there.
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    const auto app = velmora::startApplication(argc, argv);
    return RUN_ALL_TESTS();
}
