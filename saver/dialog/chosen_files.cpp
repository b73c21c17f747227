#include "chosen_files.h"

#include <string.h>

std::vector<std::string> ChosenFiles(const char* answer, size_t size)
{
    std::vector<std::string> parts;
    size_t at = 0;
    while (at < size && answer[at] != '\0') {
        const char* end = static_cast<const char*>(memchr(answer + at, '\0', size - at));
        if (!end)
            break;  // an answer cut short: its last part is not whole
        parts.push_back(std::string(answer + at, end));
        at = (size_t)(end - answer) + 1;
    }
    if (parts.size() < 2)
        return parts;
    std::string folder = parts[0];
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    std::vector<std::string> files;
    for (size_t i = 1; i < parts.size(); ++i)
        files.push_back(folder + parts[i]);
    return files;
}

std::string NameWithFolder(const std::string& name, const char* path)
{
    const char* slash = path ? strrchr(path, '\\') : NULL;
    if (!slash)
        return name;
    const char* start = slash;
    while (start > path && start[-1] != '\\')
        --start;
    std::string folder(start, slash);
    if (folder.empty() || folder.back() == ':')
        folder = std::string(path, (size_t)(slash - path));
    return name + " (" + folder + ")";
}
