#pragma once

#include <QString>
#include <functional>
#include <optional>

class ApplicationFiles;

// Takes a file into configs as a configuration, as durably as a unit file: written whole beside
// its place, synced, then renamed there. configs is made when a file first needs it.
//
// The configuration is called as the file is, without ".txt". A file of that name already in
// configs (in whatever case) with the same bytes is left as it is; one with other bytes is
// replaced only when the user says so, asked while no folder is held. Refused with a
// KovexError naming the file, and with nothing of it left: a file whose name a slot or Windows
// cannot hold, or that is no ".txt"; a folder; a link another user made; a file that cannot be
// read.
class ConfigurationImport {
public:
    using Ask = std::function<bool(const QString& question)>;

    ConfigurationImport(const ApplicationFiles& files, Ask ask);

    // The configuration's name, or nothing when the user kept the file in configs as it was.
    std::optional<QString> importFile(const QString& path) const;

    // Whether a slot and a file on Windows can hold the name (without ".txt").
    static bool isPossibleName(const QString& name);

private:
    const ApplicationFiles& m_files;
    Ask m_ask;
};
