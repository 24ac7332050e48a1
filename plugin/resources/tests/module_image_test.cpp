// The resource modules as images: the plug-in maps them with LoadLibraryW, so each
// must be a DLL of the test's own processor with no entry point and no imports, and
// it carries an empty export table named KVRES.dll and a version resource in the
// module's language.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "plugin/resources/tests/module_files.h"

namespace lxres {
namespace {

std::vector<const wchar_t*> AllModuleFiles() {
  std::vector<const wchar_t*> files;
  for (const auto& m : LanguageModules()) files.push_back(m.file);
  files.push_back(kBitmapModule);
  return files;
}

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

TEST(ResourceModuleImage, IsCodeFreeDllWithEmptyKvresExportTable) {
  for (const wchar_t* file : AllModuleFiles()) {
    SCOPED_TRACE(Narrow(file));
    LoadedModule module(file, LoadMode::Image);
    ASSERT_NE(module.get(), nullptr) << "LoadLibraryW error " << module.error();

    auto base = reinterpret_cast<const BYTE*>(module.get());
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    ASSERT_EQ(dos->e_magic, IMAGE_DOS_SIGNATURE);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    ASSERT_EQ(nt->Signature, IMAGE_NT_SIGNATURE);
#ifdef _WIN64
    EXPECT_EQ(nt->FileHeader.Machine, IMAGE_FILE_MACHINE_AMD64);
#else
    EXPECT_EQ(nt->FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
#endif
    EXPECT_TRUE(nt->FileHeader.Characteristics & IMAGE_FILE_DLL);
    EXPECT_EQ(nt->OptionalHeader.AddressOfEntryPoint, 0u);
    EXPECT_EQ(nt->OptionalHeader.SizeOfCode, 0u);

    const IMAGE_DATA_DIRECTORY* dirs = nt->OptionalHeader.DataDirectory;
    EXPECT_EQ(dirs[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress, 0u);
    EXPECT_EQ(dirs[IMAGE_DIRECTORY_ENTRY_IMPORT].Size, 0u);
    EXPECT_EQ(dirs[IMAGE_DIRECTORY_ENTRY_IAT].Size, 0u);
    EXPECT_EQ(dirs[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT].Size, 0u);
    EXPECT_EQ(dirs[IMAGE_DIRECTORY_ENTRY_TLS].Size, 0u);

    const IMAGE_DATA_DIRECTORY& exp = dirs[IMAGE_DIRECTORY_ENTRY_EXPORT];
    ASSERT_NE(exp.VirtualAddress, 0u) << "no export directory";
    ASSERT_GE(exp.Size, sizeof(IMAGE_EXPORT_DIRECTORY));
    auto exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + exp.VirtualAddress);
    EXPECT_EQ(exports->NumberOfFunctions, 0u);
    EXPECT_EQ(exports->NumberOfNames, 0u);
    ASSERT_NE(exports->Name, 0u);
    ASSERT_LT(exports->Name, nt->OptionalHeader.SizeOfImage);
    EXPECT_STREQ(reinterpret_cast<const char*>(base + exports->Name), "KVRES.dll");
  }
}

// One node of a VS_VERSIONINFO tree: key, value bytes and children.
struct VersionNode {
  std::wstring key;
  std::vector<BYTE> value;
  std::vector<VersionNode> children;
};

bool ParseVersionNode(const BYTE* data, size_t size, VersionNode& node) {
  if (size < 6) return false;
  WORD length, valueLength, type;
  std::memcpy(&length, data, 2);
  std::memcpy(&valueLength, data + 2, 2);
  std::memcpy(&type, data + 4, 2);
  if (length < 6 || length > size) return false;
  size_t pos = 6;
  for (;;) {
    if (pos + 2 > length) return false;
    WCHAR c;
    std::memcpy(&c, data + pos, 2);
    pos += 2;
    if (c == 0) break;
    node.key.push_back(c);
  }
  pos = (pos + 3) & ~size_t{3};
  size_t valueBytes = type == 1 ? valueLength * 2u : valueLength;
  if (pos + valueBytes > length) return false;
  node.value.assign(data + pos, data + pos + valueBytes);
  pos = (pos + valueBytes + 3) & ~size_t{3};
  while (pos < length) {
    VersionNode child;
    if (!ParseVersionNode(data + pos, length - pos, child)) return false;
    WORD childLength;
    std::memcpy(&childLength, data + pos, 2);
    node.children.push_back(child);
    pos = (pos + childLength + 3) & ~size_t{3};
  }
  return true;
}

const VersionNode* Child(const VersionNode& node, const std::wstring& key) {
  for (const auto& c : node.children)
    if (c.key == key) return &c;
  return nullptr;
}

std::wstring ValueText(const VersionNode& node) {
  std::wstring s(reinterpret_cast<const WCHAR*>(node.value.data()), node.value.size() / 2);
  while (!s.empty() && s.back() == 0) s.pop_back();
  return s;
}

void ExpectVersionInfo(HMODULE module, const wchar_t* file, WORD lang) {
  EXPECT_EQ(ResourceLanguages(module, RT_VERSION, MAKEINTRESOURCEW(1)), std::vector<WORD>{lang});
  std::vector<BYTE> bytes = ResourceBytes(module, RT_VERSION, MAKEINTRESOURCEW(1), lang);
  VersionNode root;
  ASSERT_TRUE(ParseVersionNode(bytes.data(), bytes.size(), root));
  EXPECT_EQ(root.key, L"VS_VERSION_INFO");

  const VersionNode* vars = Child(root, L"VarFileInfo");
  ASSERT_NE(vars, nullptr);
  const VersionNode* translation = Child(*vars, L"Translation");
  ASSERT_NE(translation, nullptr);
  ASSERT_EQ(translation->value.size(), 4u);
  WORD pair[2];
  std::memcpy(pair, translation->value.data(), 4);
  EXPECT_EQ(pair[0], lang);
  EXPECT_EQ(pair[1], 1200);

  wchar_t block[9];
  wsprintfW(block, L"%04X04B0", lang);
  const VersionNode* strings = Child(root, L"StringFileInfo");
  ASSERT_NE(strings, nullptr);
  const VersionNode* table = Child(*strings, block);
  ASSERT_NE(table, nullptr) << "no string block " << Narrow(block);
  const VersionNode* name = Child(*table, L"OriginalFilename");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(ValueText(*name), file);
  const VersionNode* description = Child(*table, L"FileDescription");
  ASSERT_NE(description, nullptr);
  EXPECT_FALSE(ValueText(*description).empty());
}

TEST(ResourceModuleImage, LanguageModulesHoldOnlyTheirLanguage) {
  const std::vector<WORD> dialogs = {101, 102, 105, 107, 108, 153};
  for (const auto& m : LanguageModules()) {
    SCOPED_TRACE(Narrow(m.file));
    LoadedModule module(m.file, LoadMode::Image);
    ASSERT_NE(module.get(), nullptr);
    EXPECT_EQ(ResourceIds(module.get(), RT_DIALOG), dialogs);
    std::vector<WORD> blocks = ResourceIds(module.get(), RT_STRING);
    EXPECT_FALSE(blocks.empty());
    for (WORD id : dialogs)
      EXPECT_EQ(ResourceLanguages(module.get(), RT_DIALOG, MAKEINTRESOURCEW(id)), std::vector<WORD>{m.lang})
          << "dialog " << id;
    for (WORD id : blocks)
      EXPECT_EQ(ResourceLanguages(module.get(), RT_STRING, MAKEINTRESOURCEW(id)), std::vector<WORD>{m.lang})
          << "string block " << id;
    EXPECT_TRUE(ResourceIds(module.get(), RT_BITMAP).empty());
    ExpectVersionInfo(module.get(), m.file, m.lang);
  }
}

TEST(ResourceModuleImage, BitmapModuleHoldsPicturesAndVersionOnly) {
  LoadedModule module(kBitmapModule, LoadMode::Image);
  ASSERT_NE(module.get(), nullptr);
  std::vector<WORD> expected;
  for (WORD id = 124; id <= 149; ++id)
    if (id != 141) expected.push_back(id);
  EXPECT_EQ(ResourceIds(module.get(), RT_BITMAP), expected);
  EXPECT_TRUE(ResourceIds(module.get(), RT_DIALOG).empty());
  EXPECT_TRUE(ResourceIds(module.get(), RT_STRING).empty());
  ExpectVersionInfo(module.get(), kBitmapModule, 0x0000);
}

}  // namespace
}  // namespace lxres
