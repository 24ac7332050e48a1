// The simulated registry where it stands for Windows: names without regard
// to case, RegDeleteKeyW refusing keys with subkeys, string data with its
// terminator, and the WOW64 view of HKLM\SOFTWARE.
#include <gtest/gtest.h>

#include "platform/sim/sim_machine.h"

namespace lx {
namespace {

constexpr RegRoot kHklm = RegRoot::kLocalMachine;

class SimRegistryTest : public ::testing::Test {
 protected:
  SimMachine machine;
  std::unique_ptr<SimProcess> proc = machine.StartProcess(u"C:\\Setup\\Qelvin64.exe");
  IRegistry& reg = *proc->os.registry;
};

TEST_F(SimRegistryTest, KeyAndValueNamesIgnoreCaseAndKeepTheirSpelling) {
  ASSERT_TRUE(reg.CreateKey(kHklm, u"SOFTWARE\\Lab\\Tool"));
  EXPECT_TRUE(reg.KeyExists(kHklm, u"software\\LAB\\tool"));
  ASSERT_TRUE(reg.SetString(kHklm, u"Software\\lab\\TOOL", u"Suffix", u"enus"));
  EXPECT_EQ(*reg.GetString(kHklm, u"SOFTWARE\\Lab\\Tool", u"SUFFIX"), u"enus");
  ASSERT_TRUE(reg.SetString(kHklm, u"SOFTWARE\\Lab\\Tool", u"suffix", u"ru"));
  EXPECT_EQ(*reg.GetString(kHklm, u"SOFTWARE\\Lab\\Tool", u"Suffix"), u"ru");
  // Creating an existing key under another spelling keeps the first one.
  ASSERT_TRUE(reg.CreateKey(kHklm, u"SOFTWARE\\LAB"));
  auto subkeys = reg.EnumSubKeys(kHklm, u"SOFTWARE");
  EXPECT_NE(std::find(subkeys.begin(), subkeys.end(), u"Lab"), subkeys.end());
}

TEST_F(SimRegistryTest, StringDataCountsItsTerminatorAndTypesAreKept) {
  ASSERT_TRUE(reg.CreateKey(kHklm, u"SOFTWARE\\Lab"));
  ASSERT_TRUE(reg.SetString(kHklm, u"SOFTWARE\\Lab", u"Suffix", u"enus"));
  auto raw = machine.registry.GetRaw(kHklm, u"SOFTWARE\\Lab", u"Suffix");
  ASSERT_TRUE(raw);
  EXPECT_EQ(raw->type, 1u);          // REG_SZ
  EXPECT_EQ(raw->bytes.size(), 10u);  // four characters and the NUL
  ASSERT_TRUE(reg.SetDword(kHklm, u"SOFTWARE\\Lab", u"Count", 7));
  EXPECT_EQ(*reg.GetDword(kHklm, u"SOFTWARE\\Lab", u"Count"), 7u);
  // Reading a value as another type answers nothing.
  EXPECT_FALSE(reg.GetDword(kHklm, u"SOFTWARE\\Lab", u"Suffix"));
  EXPECT_FALSE(reg.GetString(kHklm, u"SOFTWARE\\Lab", u"Count"));
}

TEST_F(SimRegistryTest, WritingNeedsAnExistingKeyAndFailuresLeaveTheStatus) {
  EXPECT_FALSE(reg.SetString(kHklm, u"SOFTWARE\\Nobody", u"v", u"x"));
  EXPECT_EQ(proc->os.system->GetLastError(), 2u);
  EXPECT_FALSE(reg.KeyExists(kHklm, u"SOFTWARE\\Nobody"));
  EXPECT_FALSE(reg.CreateKey(kHklm, u"\\SOFTWARE\\Lead"));  // no leading separator
  EXPECT_FALSE(reg.CreateKey(kHklm, u"SOFTWARE\\\\Double"));
}

TEST_F(SimRegistryTest, DeleteKeyRefusesAKeyWithSubkeys) {
  const std::u16string entry = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\LabTool";
  ASSERT_TRUE(reg.CreateKey(kHklm, entry + u"\\Extra"));
  EXPECT_FALSE(reg.DeleteKey(kHklm, entry));
  EXPECT_EQ(proc->os.system->GetLastError(), 5u);  // ERROR_ACCESS_DENIED
  EXPECT_TRUE(reg.DeleteKey(kHklm, entry + u"\\EXTRA"));
  ASSERT_TRUE(reg.SetString(kHklm, entry, u"DisplayName", u"Lab"));
  EXPECT_TRUE(reg.DeleteKey(kHklm, entry));  // values go with the key
  EXPECT_FALSE(reg.KeyExists(kHklm, entry));
  EXPECT_FALSE(reg.DeleteKey(kHklm, entry));
  EXPECT_EQ(proc->os.system->GetLastError(), 2u);
}

TEST_F(SimRegistryTest, A32BitProgramWritesSoftwareIntoTheWow64Node) {
  auto proc32 = machine.StartProcess(u"C:\\Setup\\Qelvin32.exe", 32);
  IRegistry& reg32 = *proc32->os.registry;
  ASSERT_TRUE(reg32.CreateKey(kHklm, u"SOFTWARE\\Lab\\Tool"));
  ASSERT_TRUE(reg32.SetString(kHklm, u"SOFTWARE\\Lab\\Tool", u"Suffix", u"ja"));
  // Where it landed, as a 64-bit reader sees it.
  EXPECT_FALSE(reg.KeyExists(kHklm, u"SOFTWARE\\Lab\\Tool", RegView::kWow64_64));
  EXPECT_EQ(*reg.GetString(kHklm, u"SOFTWARE\\WOW6432Node\\Lab\\Tool", u"Suffix"), u"ja");
  EXPECT_EQ(*reg.GetString(kHklm, u"SOFTWARE\\Lab\\Tool", u"Suffix", RegView::kWow64_32), u"ja");
  // The 64-bit view reaches the native key from the 32-bit program.
  ASSERT_TRUE(reg32.CreateKey(kHklm, u"SOFTWARE\\Lab\\Tool", RegView::kWow64_64));
  EXPECT_TRUE(reg.KeyExists(kHklm, u"SOFTWARE\\Lab\\Tool"));
  // Outside SOFTWARE nothing is redirected.
  EXPECT_EQ(machine.registry.Redirect(kHklm, u"SYSTEM\\CurrentControlSet", RegView::kWow64_32),
            u"SYSTEM\\CurrentControlSet");
}

}  // namespace
}  // namespace lx
