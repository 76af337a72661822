// Checks what Windows users download: the portable zip, and the installer's tables,
// then installs, upgrades and uninstalls it with Wine's msiexec in a fresh prefix
// and starts the installed program.

#include "wine.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

namespace velmora::test
{
namespace
{

// Given on the command line by CMake.
QString builtExe;
QString zipFile;
QString msiFile;
QString nextMsiFile;
QString productVersion;
QString nextProductVersion;
QString company;

QByteArray contents(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

QString tool(const QString &program, const QStringList &args)
{
    return run(program, args).remove('\r');
}

// Text for Windows: every line ends in CR LF.
void expectWindowsLineEnds(const QByteArray &text, const QString &name)
{
    EXPECT_TRUE(text.endsWith("\r\n")) << name.toStdString();
    EXPECT_EQ(text.count("\n"), text.count("\r\n")) << name.toStdString() << " has a line end without CR";
}

TEST(WindowsZip, HoldsTheBuiltExeAndTheTextsWithWindowsLineEnds)
{
    EXPECT_EQ(tool("unzip", {"-Z1", zipFile}).split('\n'),
              QStringList({"Velmora.exe", "LICENSE.txt", "README.txt"}));
    const QTemporaryDir dir;
    run("unzip", {"-q", zipFile, "-d", dir.path()});
    EXPECT_EQ(contents(dir.filePath("Velmora.exe")), contents(builtExe))
        << "the zip's exe is not the built one";
    expectWindowsLineEnds(contents(dir.filePath("LICENSE.txt")), "LICENSE.txt");
    const QByteArray readme = contents(dir.filePath("README.txt"));
    expectWindowsLineEnds(readme, "README.txt");
    EXPECT_TRUE(
        readme.startsWith("Velmora " + QFileInfo(zipFile).completeBaseName().section('-', 1, 1).toUtf8() + "\r\n"))
        << "the read-me does not start with the name and version";
}

// One column of an installer table's rows whose first column is `key`.
QString msiValue(const QString &msi, const QString &table, const QString &key, int column = 1)
{
    for (const QString &row : tool("msiinfo", {"export", msi, table}).split('\n')) {
        const QStringList fields = row.split('\t');
        if (fields.value(0) == key)
            return fields.value(column);
    }
    return {};
}

TEST(WindowsInstaller, TablesDescribeAPerUserInstallationThatUpgrades)
{
    EXPECT_EQ(msiValue(msiFile, "Property", "ProductName"), "Velmora");
    EXPECT_EQ(msiValue(msiFile, "Property", "ProductVersion"), productVersion);
    EXPECT_EQ(msiValue(nextMsiFile, "Property", "ProductVersion"), nextProductVersion);
    EXPECT_EQ(msiValue(msiFile, "Property", "Manufacturer"), company);
    EXPECT_EQ(msiValue(msiFile, "Property", "ARPPRODUCTICON"), "velmora.ico");
    EXPECT_TRUE(msiValue(msiFile, "Property", "ALLUSERS").isEmpty()) << "an installation for all users";
    // Each version its own product, one upgrade code for all, and the upgrade removes the old.
    EXPECT_NE(msiValue(msiFile, "Property", "ProductCode"), msiValue(nextMsiFile, "Property", "ProductCode"));
    EXPECT_EQ(msiValue(msiFile, "Property", "UpgradeCode"), msiValue(nextMsiFile, "Property", "UpgradeCode"));
    EXPECT_FALSE(msiValue(msiFile, "InstallExecuteSequence", "RemoveExistingProducts", 2).isEmpty());
    // Bit 3 of the word count: no elevation needed.
    const QRegularExpression source(QStringLiteral("Source: (\\d+)"));
    const int words = source.match(tool("msiinfo", {"suminfo", msiFile})).captured(1).toInt();
    EXPECT_TRUE(words & 8) << "the installer asks for administrator rights";
    // The exe under %LOCALAPPDATA%\Programs\Velmora; the shortcut in the user's Start menu.
    EXPECT_EQ(msiValue(msiFile, "File", "VelmoraExe", 2), "Velmora.exe");
    EXPECT_EQ(msiValue(msiFile, "Directory", "INSTALLFOLDER"), "UserProgramsFolder");
    EXPECT_EQ(msiValue(msiFile, "Directory", "UserProgramsFolder"), "LocalAppDataFolder");
    EXPECT_EQ(msiValue(msiFile, "Shortcut", "VelmoraShortcut", 2), "Velmora");
    EXPECT_EQ(msiValue(msiFile, "Shortcut", "VelmoraShortcut", 4), "[INSTALLFOLDER]Velmora.exe");
    EXPECT_EQ(msiValue(msiFile, "Shortcut", "VelmoraShortcut", 8), "velmora.ico");
}

// A fresh prefix and Wine's msiexec in it.
class Installation : public testing::Test
{
protected:
    // Runs msiexec quietly; its output goes to files, as it never ends while a pipe reads it.
    int msiexec(const QStringList &args)
    {
        QProcess p;
        p.setProcessEnvironment(prefix_.environment());
        p.setStandardInputFile(QProcess::nullDevice());
        p.setStandardOutputFile(logs_.filePath("msiexec.out"));
        p.setStandardErrorFile(logs_.filePath("msiexec.err"));
        p.setChildProcessModifier(dieWithTheTest);
        p.start(wineLoader(), QStringList{"msiexec"} + args + QStringList{"/qn"});
        if (!p.waitForFinished(120000)) {
            p.kill();
            p.waitForFinished();
            ADD_FAILURE() << "msiexec " << args.join(' ').toStdString() << " did not finish";
            return -1;
        }
        return p.exitCode();
    }

    // The user's profile folder, beside Public.
    QString profile() const
    {
        const QDir users(prefix_.path() + "/prefix/drive_c/users");
        QStringList names = users.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        names.removeAll("Public");
        EXPECT_EQ(names.size(), 1) << names.join(' ').toStdString();
        return users.filePath(names.value(0));
    }
    QString installedExe() const { return profile() + "/AppData/Local/Programs/Velmora/Velmora.exe"; }
    QString shortcut() const
    {
        return profile() + "/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Velmora.lnk";
    }

    // The Add/Remove Programs entries named Velmora, and their versions. Wine keeps
    // them in the machine's key even for one user's installation; Windows in the user's.
    QStringList uninstallEntries() const
    {
        QStringList versions;
        for (const char *root : {"HKLM", "HKCU"}) {
            const QString key =
                QString::fromLatin1(root) + "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
            QString displayName, displayVersion;
            for (const QString &line : prefix_.run({"reg", "query", key, "/s"}).remove('\r').split('\n')) {
                if (line.startsWith("HKEY_"))
                    displayName.clear();
                const QStringList fields = line.trimmed().split(QRegularExpression("\\s{4}"));
                if (fields.value(0) == "DisplayName")
                    displayName = fields.value(2);
                else if (fields.value(0) == "DisplayVersion" && displayName == "Velmora")
                    versions << QString::fromLatin1(root) + ' ' + fields.value(2);
            }
        }
        return versions;
    }

    // Files under drive C: and registry lines that name Velmora or its product codes.
    QStringList traces()
    {
        prefix_.stopServer(); // the registry is on disk once the server has gone
        QStringList found;
        QStringList names{"velmora"};
        for (const QString &msi : {msiFile, nextMsiFile})
            names << msiValue(msi, "Property", "ProductCode").toLower();
        QDirIterator files(prefix_.path() + "/prefix/drive_c",
                           QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            for (const QString &name : names)
                if (path.toLower().contains(name))
                    found << path;
        }
        for (const char *reg : {"system.reg", "user.reg"}) {
            for (const QString &line :
                 QString::fromUtf8(contents(prefix_.path() + "/prefix/" + reg)).split('\n'))
                for (const QString &name : names)
                    if (line.toLower().contains(name))
                        found << QString::fromLatin1(reg) + ": " + line;
        }
        prefix_.startServer();
        return found;
    }

    WinePrefix prefix_;
    QTemporaryDir logs_;
};

TEST_F(Installation, InstallsStartsAndUninstallsWithoutATrace)
{
    ASSERT_TRUE(traces().isEmpty());
    ASSERT_EQ(msiexec({"/i", msiFile}), 0) << contents(logs_.filePath("msiexec.err")).toStdString();
    EXPECT_EQ(contents(installedExe()), contents(builtExe));
    EXPECT_TRUE(QFileInfo::exists(shortcut()));
    EXPECT_EQ(uninstallEntries(), QStringList{"HKLM " + productVersion});
    EXPECT_GE(traces().size(), 4) << "the exe, the shortcut, the icon and the registry values";
    {
        WineVelmora velmora(prefix_, installedExe());
        velmora.window().expectShows(Board());
        velmora.window().click({0, 0});
        velmora.window().keys({"alt+F4"});
        EXPECT_EQ(velmora.waitForExit(), 0);
    }
    ASSERT_EQ(msiexec({"/x", msiFile}), 0) << contents(logs_.filePath("msiexec.err")).toStdString();
    EXPECT_EQ(traces(), QStringList());
    EXPECT_EQ(uninstallEntries(), QStringList());
}

TEST_F(Installation, ALaterVersionReplacesTheEarlierOne)
{
    ASSERT_EQ(msiexec({"/i", msiFile}), 0);
    ASSERT_EQ(msiexec({"/i", nextMsiFile}), 0) << contents(logs_.filePath("msiexec.err")).toStdString();
    EXPECT_EQ(uninstallEntries(), QStringList{"HKLM " + nextProductVersion});
    EXPECT_EQ(contents(installedExe()), contents(builtExe));
    EXPECT_TRUE(QFileInfo::exists(shortcut()));
    ASSERT_EQ(msiexec({"/x", nextMsiFile}), 0);
    EXPECT_EQ(traces(), QStringList());
}

} // namespace
} // namespace velmora::test

int main(int argc, char **argv)
{
    using namespace velmora::test;
    return runTests(argc, argv, "EXE ZIP MSI NEXT-MSI PRODUCT-VERSION NEXT-PRODUCT-VERSION COMPANY",
                    {&builtExe, &zipFile, &msiFile, &nextMsiFile, &productVersion, &nextProductVersion, &company},
                    {new XServer}, 4,
                    "build the windows preset's packages first (cmake --preset windows && "
                    "cmake --build --preset windows --target all package)");
}
