#include "SnmpRecFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <unistd.h>

SnmpRecFile::Result SnmpRecFile::ParseText(const std::string &text, const std::string &name)
{
    Result r;
    r.opened = true;
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#')
            continue;
        auto fail = [&](const std::string &why) {
            r.errors.push_back(name + ":" + std::to_string(lineNo) + ": " + why);
        };
        size_t bar1 = line.find('|');
        size_t bar2 = bar1 == std::string::npos ? bar1 : line.find('|', bar1 + 1);
        if (bar2 == std::string::npos) {
            fail("expected OID|tag|value");
            continue;
        }
        auto oid = ParseOid(line.substr(first, bar1 - first));
        if (!oid) {
            fail("bad OID \"" + line.substr(first, bar1 - first) + "\"");
            continue;
        }
        AgentValue value;
        std::string err = ParseValue(line.substr(bar1 + 1, bar2 - bar1 - 1), line.substr(bar2 + 1), value);
        if (!err.empty()) {
            fail(err);
            continue;
        }
        r.records.emplace_back(std::move(*oid), std::move(value));
    }
    return r;
}

SnmpRecFile::Result SnmpRecFile::Read(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        Result r;
        r.errors.push_back(path + ": cannot open: " + std::strerror(errno));
        return r;
    }
    std::ostringstream ss;
    ss << in.rdbuf();
    return ParseText(ss.str(), path);
}

std::string SnmpRecFile::Format(const std::vector<AgentVarBind> &records)
{
    std::string out;
    out.reserve(records.size() * 40);
    std::string tag, value;
    for (const auto &[oid, v] : records) {
        FormatValue(v, tag, value);
        out += OidToText(oid);
        out += '|';
        out += tag;
        out += '|';
        out += value;
        out += '\n';
    }
    return out;
}

bool SnmpRecFile::WriteAtomic(const std::string &path, const std::string &text, std::string *error)
{
    const std::string tmp = path + ".tmp";
    auto failed = [&](const char *what) {
        if (error)
            *error = std::string(what) + " " + tmp + ": " + std::strerror(errno);
        ::unlink(tmp.c_str());
        return false;
    };
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return failed("cannot create");
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ::close(fd);
            return failed("cannot write");
        }
        done += size_t(n);
    }
    if (::fsync(fd) != 0) {
        ::close(fd);
        return failed("cannot sync");
    }
    if (::close(fd) != 0)
        return failed("cannot close");
    if (::rename(tmp.c_str(), path.c_str()) != 0)
        return failed("cannot rename");
    return true;
}
