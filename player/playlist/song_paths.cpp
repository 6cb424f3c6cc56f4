#include "song_paths.h"

#include <vector>

#include "batch_paths.h"

namespace playlist {

namespace {

using eseq::IsSeparator;

char SeparatorOf(const std::string& path)
{
    const bool slash = path.find('/') != std::string::npos;
    const bool backslash = path.find('\\') != std::string::npos;
    return slash && !backslash ? '/' : '\\';
}

// The root ("C:", "" for "\..." or "/...", "\\server") and the components.
struct Parts {
    bool absolute = false;
    std::string root;
    std::vector<std::string> components;
};

Parts PartsOf(const std::string& path)
{
    Parts parts;
    size_t pos = 0;
    if (path.size() >= 2 && path[1] == ':') {
        parts.root = path.substr(0, 2);
        pos = 2;
        parts.absolute = path.size() > 2 && IsSeparator(path[2]);
    } else if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        parts.absolute = true;
        parts.root = "\\\\";
    } else if (!path.empty() && IsSeparator(path[0])) {
        parts.absolute = true;
    }
    std::string component;
    for (; pos <= path.size(); ++pos) {
        if (pos == path.size() || IsSeparator(path[pos])) {
            if (!component.empty())
                parts.components.push_back(component);
            component.clear();
        } else {
            component += path[pos];
        }
    }
    return parts;
}

std::vector<std::string> Tidy(const std::vector<std::string>& components, bool absolute)
{
    std::vector<std::string> out;
    for (const std::string& c : components) {
        if (c == ".")
            continue;
        if (c == ".." && !out.empty() && out.back() != "..") {
            out.pop_back();
            continue;
        }
        if (c == ".." && absolute)
            continue;  // nothing above the root
        out.push_back(c);
    }
    return out;
}

std::string Build(const Parts& parts, const std::vector<std::string>& components, char sep)
{
    std::string out = parts.root == "\\\\" ? std::string(2, sep) : parts.root;
    if (parts.absolute && parts.root != "\\\\")
        out += sep;
    for (size_t i = 0; i < components.size(); ++i) {
        if (i > 0)
            out += sep;
        out += components[i];
    }
    return out;
}

}  // namespace

void SplitSongPath(const std::string& path, std::string* dir, std::string* name)
{
    for (size_t i = path.size(); i-- > 0;) {
        if (IsSeparator(path[i])) {
            *dir = path.substr(0, i == 0 ? 1 : i);  // a root keeps its separator
            *name = path.substr(i + 1);
            return;
        }
    }
    dir->clear();
    *name = path;
}

std::string JoinSongPath(const std::string& dir, const std::string& name)
{
    if (dir.empty())
        return name;
    // "\", "/" and "C:\" keep their one separator ("C:\x" splits back into
    // "C:", which joins the same way again).
    const bool root = (dir.size() == 1 && IsSeparator(dir[0])) || (dir.size() == 3 && dir[1] == ':' && dir[2] == '\\');
    if (root)
        return dir + name;
    return dir + SeparatorOf(dir) + name;
}

std::string TrimFolderPath(const std::string& path)
{
    std::string out = path;
    while (out.size() > 1 && IsSeparator(out.back()) && !(out.size() == 3 && out[1] == ':'))
        out.pop_back();
    return out;
}

std::string LastPathComponent(const std::string& path)
{
    std::string dir, name;
    SplitSongPath(path, &dir, &name);
    return name;
}

bool IsAbsolutePath(const std::string& path)
{
    return PartsOf(path).absolute;
}

std::string ResolvePath(const std::string& base, const std::string& relative)
{
    const Parts rel = PartsOf(relative);
    if (rel.absolute)
        return Build(rel, Tidy(rel.components, true), SeparatorOf(relative));
    const Parts from = PartsOf(base);
    std::vector<std::string> all = from.components;
    all.insert(all.end(), rel.components.begin(), rel.components.end());
    return Build(from, Tidy(all, from.absolute), SeparatorOf(base.empty() ? relative : base));
}

std::string RelativePath(const std::string& base, const std::string& path)
{
    const Parts from = PartsOf(base), to = PartsOf(path);
    if (!from.absolute || !to.absolute || !eseq::EqualsNoCase(from.root, to.root))
        return path;
    const std::vector<std::string> a = Tidy(from.components, true), b = Tidy(to.components, true);
    size_t common = 0;
    while (common < a.size() && common < b.size() && eseq::EqualsNoCase(a[common], b[common]))
        ++common;
    std::vector<std::string> steps(a.size() - common, "..");
    steps.insert(steps.end(), b.begin() + common, b.end());
    const char sep = SeparatorOf(path);
    std::string out;
    for (size_t i = 0; i < steps.size(); ++i) {
        if (i > 0)
            out += sep;
        out += steps[i];
    }
    return out;
}

}  // namespace playlist
