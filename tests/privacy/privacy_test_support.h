// Folders, files, links and registry values that the privacy tests seed
// and inspect, all inside the suite's own throwaway prefix.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "kelvolite/shell_fixture.h"

namespace privacytest {

// Fails the test unless HOME is the suite's throwaway folder: the Recycle
// Bin is $HOME/.local/share/Trash, and emptying it must never reach the
// real user's.
void AssertThrowawayHome();
std::string UnixHome();

void WriteTextFile(const std::string& path, const std::string& text);
std::string ReadTextFile(const std::string& path);
bool Exists(const std::string& path);
// Creates the folder and all above it.
void MakeFolders(const std::string& path);
// Deletes a tree that a test made (never following links).
void RemoveTree(const std::string& path);
// The entries directly inside a folder, sorted.
std::vector<std::string> Entries(const std::string& folder);
// A Unix symbolic link at `link` to `target` (both Windows paths in the
// prefix); Windows programs see it as a reparse point.
bool MakeUnixSymlink(const std::string& target, const std::string& link);

// Deletions the NT build scheduled (the sources of the pending renames
// whose target is empty, "\??\" removed).
std::vector<std::string> PendingDeletions();
void ClearPendingDeletions();

void SetShellFolder(const char* name, const std::string& folder);

// A file held open without sharing, as a running browser holds its index.
class HeldFile {
public:
  explicit HeldFile(const std::string& path);
  ~HeldFile();

private:
  HANDLE h_;
};

}  // namespace privacytest

namespace privacytest {

// Answers every box that appears while it lives (the program's own box and
// the system's plain one) with `key`, and keeps their texts, so that an
// unexpected question neither hangs the test nor goes unseen.
class BoxRecorder {
public:
  explicit BoxRecorder(WORD key);
  ~BoxRecorder();
  std::vector<std::string> texts;

private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  WORD key_;
  UINT_PTR timer_;
};

}  // namespace privacytest
