// Damaging a local store's file on purpose, as a failing disk or a careless
// tool would: garbage over a page of one of its tables, or the file cut
// short. Pages are found from the file itself, so the store must be closed
// (its write-ahead log folded into the file) before a page is damaged. Each
// answers whether it did the damage, for GoogleTest and Qt Test alike.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "olstore/Sqlite.h"
#include "olstore/Store.h"

namespace damage {

struct TablePages {
  int64_t pageSize = 0;
  int64_t root = 0;  // the root page of the table's b-tree (pages count from 1); 0: none
};

inline TablePages PagesOf(const std::string& path, std::string_view table) {
  std::string error;
  const std::shared_ptr<olstore::Store> store = olstore::Store::Open(path, error, false);
  if (!store) return {};
  TablePages pages;
  pages.pageSize = store->Db().QueryInt("PRAGMA page_size").value_or(0);
  olstore::Query query = store->Db().Prepare("SELECT rootpage FROM sqlite_master WHERE name = ?1");
  query.Bind(1, table);
  if (query.Next()) pages.root = query.Int(0);
  return pages;
}

inline std::string ReadPage(const std::string& path, int64_t page, int64_t pageSize) {
  std::string bytes(static_cast<size_t>(pageSize), '\0');
  std::ifstream in(path, std::ios::binary);
  in.seekg((page - 1) * pageSize);
  in.read(bytes.data(), pageSize);
  return bytes;
}

inline bool OverwritePage(const std::string& path, int64_t page, int64_t pageSize) {
  std::string garbage;
  while (garbage.size() < static_cast<size_t>(pageSize)) garbage += "garbage!";
  std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
  out.seekp((page - 1) * pageSize);
  out.write(garbage.data(), pageSize);
  return out.good();
}

// A big-endian number of n bytes at offset at.
inline int64_t BigEndian(const std::string& bytes, size_t at, int n) {
  int64_t value = 0;
  for (int i = 0; i < n; ++i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

// Garbage over the leaf page in the middle of a table's b-tree, found by
// following each interior page's middle child down from the root: the rows
// before that leaf still read, it and those after it are out of reach. False
// for a table that fits its root page (too few rows to damage its middle).
inline bool DamageMiddleOf(const std::string& path, std::string_view table) {
  constexpr uint8_t kInteriorIndex = 0x02, kInteriorTable = 0x05;
  const TablePages pages = PagesOf(path, table);
  if (pages.root == 0) return false;
  int64_t page = pages.root;
  for (;;) {
    const std::string bytes = ReadPage(path, page, pages.pageSize);
    const auto type = static_cast<uint8_t>(bytes[0]);
    if (type != kInteriorIndex && type != kInteriorTable) break;
    // Each cell starts with its left child; the right-most child is in the header.
    std::vector<int64_t> children;
    for (int64_t cell = 0; cell < BigEndian(bytes, 3, 2); ++cell)
      children.push_back(
          BigEndian(bytes, static_cast<size_t>(BigEndian(bytes, 12 + 2 * cell, 2)), 4));
    children.push_back(BigEndian(bytes, 8, 4));
    page = children[children.size() / 2];
  }
  return page != pages.root && OverwritePage(path, page, pages.pageSize);
}

// Garbage over the root page of a table: all of a small table.
inline bool DamageRootOf(const std::string& path, std::string_view table) {
  const TablePages pages = PagesOf(path, table);
  return pages.root != 0 && OverwritePage(path, pages.root, pages.pageSize);
}

// Cuts the file to half its pages; it may be open.
inline bool CutShort(const std::string& path) {
  // The page size is in the file's header; 1 stands for 65536.
  const int64_t header = BigEndian(ReadPage(path, 1, 100), 16, 2);
  const int64_t pageSize = header == 1 ? 65536 : header;
  std::error_code error;
  const auto size = static_cast<int64_t>(std::filesystem::file_size(path, error));
  if (error || pageSize == 0) return false;
  std::filesystem::resize_file(path, static_cast<uintmax_t>(size / pageSize / 2 * pageSize), error);
  return !error;
}

// The file's bytes and those of its write-ahead log, to show that nothing
// was written.
inline std::string FileAndLog(const std::string& path) {
  std::ifstream file(path, std::ios::binary), log(path + "-wal", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()) +
         "\n-wal:\n" +
         std::string(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>());
}

}  // namespace damage
