// Settings files: the folder from the environment at each open, values read
// back as the file holds them, booleans and numbers from hand-edited text.
#include "commands/settings_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace quillet::test {
namespace {

struct SettingsFolderFixture {
  SettingsFolderFixture() : saved(qgetenv("XDG_CONFIG_HOME")) { qputenv("XDG_CONFIG_HOME", dir.path().toUtf8()); }
  ~SettingsFolderFixture() { qputenv("XDG_CONFIG_HOME", saved); }
  void WriteFile(const char* name, const char* text) {
    QFile file(dir.path() + "/afxQuillet/" + name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }
  QTemporaryDir dir;
  QByteArray saved;
};

TEST(SettingsFile, FolderFollowsTheEnvironmentAtEachOpen) {
  SettingsFolderFixture f;
  EXPECT_EQ(SettingsFolder(), f.dir.path().toStdString() + "/afxQuillet");
  TDVSettingsFile file("PageSetup.ini");
  EXPECT_EQ(file.Path(), f.dir.path().toStdString() + "/afxQuillet/PageSetup.ini");
  qunsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(SettingsFolder(), QDir::homePath().toStdString() + "/.config/afxQuillet");
}

TEST(SettingsFile, WritesReachTheFileAndReadBack) {
  SettingsFolderFixture f;
  {
    TDVSettingsFile file("LineSpace.ini");
    EXPECT_TRUE(file.WriteString("Header", "Text", "第 &p 页, 共 &P 页"));
    EXPECT_TRUE(file.WriteInteger("Margins", "Left", -20));
    EXPECT_TRUE(file.WriteBool("Header", "Visible", true));
    EXPECT_TRUE(file.WriteBool("Footer", "Visible", false));
  }
  QFile raw(f.dir.path() + "/afxQuillet/LineSpace.ini");
  ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
  const QByteArray text = raw.readAll();
  EXPECT_TRUE(text.contains("Visible=1")) << text.constData();
  EXPECT_TRUE(text.contains("Visible=0")) << text.constData();
  TDVSettingsFile file("LineSpace.ini");
  EXPECT_EQ(file.ReadString("Header", "Text", ""), "第 &p 页, 共 &P 页");
  EXPECT_EQ(file.ReadInteger("Margins", "Left", 0), -20);
  EXPECT_TRUE(file.ReadBool("Header", "Visible", false));
  EXPECT_FALSE(file.ReadBool("Footer", "Visible", true));
}

TEST(SettingsFile, HandEditedValues) {
  SettingsFolderFixture f;
  TDVSettingsFile("x.ini");  // makes the folder
  f.WriteFile("x.ini",
              "[S]\nlist=1,2,3\nyes=TRUE\nno=false\none= 1 \nbad=maybe\nnum= +42 \nbig=99999999999\n"
              "frac=1.5\nempty=\nneg=-7\n");
  TDVSettingsFile file("x.ini");
  EXPECT_EQ(file.ReadString("S", "list", ""), "1,2,3");
  EXPECT_EQ(file.ReadString("S", "absent", "def"), "def");
  struct BoolCase {
    const char* ident;
    bool def, expected;
  } bools[] = {{"yes", false, true}, {"no", true, false}, {"one", false, true}, {"bad", true, true},
               {"bad", false, false}, {"absent", true, true}};
  for (const BoolCase& c : bools) EXPECT_EQ(file.ReadBool("S", c.ident, c.def), c.expected) << c.ident;
  struct IntCase {
    const char* ident;
    int32_t expected;
  } ints[] = {{"num", 42}, {"neg", -7}, {"big", 5}, {"frac", 5}, {"empty", 5}, {"bad", 5}, {"list", 5}};
  for (const IntCase& c : ints) EXPECT_EQ(file.ReadInteger("S", c.ident, 5), c.expected) << c.ident;
}

}  // namespace
}  // namespace quillet::test
