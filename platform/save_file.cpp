#include "platform/save_file.h"

namespace tavro {
namespace {

std::string Problem(const std::string& path, const std::string& problem) {
    return path + ": " + problem;
}

std::string WriteDirectly(FileSystem& files, const std::string& path, std::string_view bytes) {
    OpenedSink sink = files.OpenExistingForWrite(path);
    if (sink.file == nullptr) return Problem(path, sink.problem);
    if (!sink.file->Write(bytes) || !sink.file->Sync() || !sink.file->Close()) {
        return Problem(path, sink.file->Problem());
    }
    return {};
}

std::string ReplaceAtomically(FileSystem& files, const std::string& shownPath,
                              const std::string& target, std::string_view bytes) {
    OpenedSink temporary = files.CreateTemporaryBeside(target);
    if (temporary.file == nullptr) return Problem(shownPath, temporary.problem);
    if (!temporary.file->Write(bytes) || !temporary.file->Sync() || !temporary.file->Close()) {
        const std::string problem = temporary.file->Problem();
        temporary.file.reset();
        files.Remove(temporary.path);
        return Problem(shownPath, problem);
    }
    temporary.file.reset();
    if (const std::string problem = files.Rename(temporary.path, target); !problem.empty()) {
        files.Remove(temporary.path);
        return Problem(shownPath, problem);
    }
    // The new contents are in place; a folder that cannot be synced is reported,
    // since the rename may not survive a crash.
    if (const std::string problem = files.SyncFolderOf(target); !problem.empty()) {
        return Problem(shownPath, "the folder could not be synced: " + problem);
    }
    return {};
}

}  // namespace

std::string SaveFile(FileSystem& files, const std::string& path, std::string_view bytes) {
    const std::string target = files.FollowLinks(path);
    switch (files.KindOf(target)) {
        case FileKind::kDirectory:
            return Problem(path, "Is a directory");
        case FileKind::kOther:
            return WriteDirectly(files, target, bytes);
        case FileKind::kMissing:
        case FileKind::kRegular:
            break;
    }
    return ReplaceAtomically(files, path, target, bytes);
}

}  // namespace tavro
