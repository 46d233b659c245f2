// Walking a directory tree and collecting the relative paths of the files and
// directories that pass include and exclude patterns.
//
// Entries are visited in byte order of their names, so results repeat.
// Symbolic links to directories are neither entered nor listed; symbolic links
// to files count as files. A directory that cannot be entered counts as a file.
// The walk changes the process's working directory while it runs (callbacks
// see the directory of the entry) and restores it; it must not run on two
// threads at once nor beside code that relies on the working directory.
#pragma once

#include <functional>
#include <string>
#include <vector>

// Called with the relative path of a directory when it is entered ("" for the top).
typedef std::function<void(const std::string& relativeDir)> TProcessDirOnDir;
// Decides whether a candidate file is listed.
typedef std::function<bool(const std::string& fileName, const std::string& relativeDir, int depth,
                           const std::vector<std::string>& files)>
    TProcessDirAccept;
// Called with the relative path of a file after it is listed.
typedef std::function<void(const std::string& relativePath)> TProcessDirOnFile;
// Returns true to stop the walk.
typedef std::function<bool()> TProcessDirCancel;

// The arguments of a walk in one record.
struct TProcessDirData {
    std::string dir;                       // empty: the working directory
    std::vector<std::string> includes;     // a file is listed only when it matches one
    std::vector<std::string> excludes;     // a matching file is not listed
    std::vector<std::string> dirExcludes;  // a matching directory is neither entered nor listed
    std::vector<std::string> files;        // receives the listed files
    std::vector<std::string> dirs;         // receives the entered directories
    int maxDepth = -1;                     // levels below dir to descend; -1 unlimited
    bool ignoreCase = false;               // patterns and names compared in lower case
    bool zip = false;                      // files with the extension "zip" are always candidates
    TProcessDirOnDir onDir;
    TProcessDirAccept accept;
    TProcessDirOnFile onFile;
    TProcessDirCancel cancel;
};

// Clears `files` and `dirs`, then walks `dir`: directories are listed when
// entered, before their contents, with paths relative to `dir` joined by '/';
// a file is listed when it matches an include and no exclude (or is a zip with
// `zip`) and `accept` (when set) agrees. Returns true when `cancel` stopped the
// walk, false otherwise, also when `dir` cannot be entered. The working
// directory is the same afterwards.
bool ProcessDir(std::string dir, const std::vector<std::string>& includes, const std::vector<std::string>& excludes,
                const std::vector<std::string>& dirExcludes, std::vector<std::string>& files,
                std::vector<std::string>& dirs, int maxDepth, bool ignoreCase, bool zip,
                TProcessDirOnDir onDir = nullptr, TProcessDirAccept accept = nullptr,
                TProcessDirOnFile onFile = nullptr, TProcessDirCancel cancel = nullptr);
bool ProcessDir(TProcessDirData& data);
// One include pattern, no excludes, and the directory list discarded.
bool ProcessDir(const std::string& dir, const std::string& include, std::vector<std::string>& files, int maxDepth,
                bool ignoreCase, bool zip, TProcessDirOnDir onDir = nullptr, TProcessDirAccept accept = nullptr,
                TProcessDirOnFile onFile = nullptr, TProcessDirCancel cancel = nullptr);
