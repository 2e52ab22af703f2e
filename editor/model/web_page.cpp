// web_page.cpp -- fills the web player's template with a vision file and a title.
#include "editor/model/web_page.h"

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <memory>
#include <strings.h>

#include "common/base64.h"

namespace editor {
namespace {

size_t count_of(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
    return count;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::string web_template_problem(const std::string& page_template) {
    for (const char* placeholder : {vision_placeholder, title_placeholder}) {
        const size_t count = count_of(page_template, placeholder);
        if (count != 1)
            return std::string("it holds ") + placeholder + " " + std::to_string(count) +
                   (count == 1 ? " time" : " times") + ", where a player holds it once";
    }
    return "";
}

std::string html_escaped(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&#39;"; break;
        default: escaped += c; break;
        }
    }
    return escaped;
}

std::string web_page_title(const std::string& vision_path) {
    std::string name = vision_path.substr(vision_path.find_last_of('/') + 1);
    constexpr char suffix[] = ".flt";
    constexpr size_t suffix_length = sizeof suffix - 1;
    if (name.size() >= suffix_length && strncasecmp(name.c_str() + name.size() - suffix_length, suffix,
                                                    suffix_length) == 0)
        name.resize(name.size() - suffix_length);
    return name.empty() ? unnamed_vision_title : name;
}

size_t web_page_size(const std::string& page_template, size_t vision_size, const std::string& title) {
    return page_template.size() - std::strlen(vision_placeholder) - std::strlen(title_placeholder) +
           common::base64_length(vision_size) + html_escaped(title).size();
}

std::string fill_web_page(const std::string& page_template, const std::vector<uint8_t>& vision,
                          const std::string& title) {
    const size_t vision_at = page_template.find(vision_placeholder);
    const size_t title_at = page_template.find(title_placeholder);
    const size_t vision_length = std::strlen(vision_placeholder);
    const size_t title_length = std::strlen(title_placeholder);
    // The two replacements in the order they stand, each from the template.
    struct Part {
        size_t at, length;
        std::string text;
    } parts[2] = {{vision_at, vision_length, common::base64_text(vision.data(), vision.size())},
                  {title_at, title_length, html_escaped(title)}};
    if (title_at < vision_at) std::swap(parts[0], parts[1]);
    std::string page;
    page.reserve(web_page_size(page_template, vision.size(), title));
    size_t from = 0;
    for (const Part& part : parts) {
        page.append(page_template, from, part.at - from);
        page += part.text;
        from = part.at + part.length;
    }
    page.append(page_template, from, std::string::npos);
    return page;
}

void clear_comments(std::vector<uint8_t>& vision_bytes) {
    constexpr size_t at = offsetof(vision::Header, comments);
    if (vision_bytes.size() < at + vision::comments_size) return;
    std::memset(vision_bytes.data() + at, 0, vision::comments_size);
}

int write_vision_bytes(vision::Document& doc, std::vector<uint8_t>& out, vision::SaveReport& report) {
    out.clear();
    // The writer seeks back to fill in offsets: an unnamed temporary file
    // is a stream it can do that in, whatever the size of the pictures.
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::tmpfile());
    if (!file) {
        report.error = errno ? errno : EIO;
        return 0;
    }
    const long long length = vision::write_vision_stream(doc, file.get(), &report);
    if (length < 0) {
        if (!report.error) report.error = errno ? errno : EIO;
        return 0;
    }
    out.resize(size_t(length));
    if (std::fflush(file.get()) != 0 || std::fseek(file.get(), 0, SEEK_SET) != 0 ||
        (length > 0 && std::fread(out.data(), size_t(length), 1, file.get()) != 1)) {
        report.error = errno ? errno : EIO;
        out.clear();
        return 0;
    }
    return 1;
}

std::string page_size_text(size_t bytes) {
    char text[64];
    if (bytes < 1000 * 1000)
        std::snprintf(text, sizeof text, "The page will be %zu kB.", bytes < 1000 ? size_t(1) : (bytes + 500) / 1000);
    else
        std::snprintf(text, sizeof text, "The page will be %.1f MB.", double(bytes) / 1e6);
    return text;
}

}  // namespace editor
