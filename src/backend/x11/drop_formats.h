#pragma once

#include <QByteArray>

#include <string>
#include <vector>

// How Qt's own XDND drop data names and reads what a source offers, so that a drop the
// backend reads itself reads exactly as the toolkit's drop event would have given it.
namespace backend::x11 {

// The MIME types Qt lists for a drop offering the X targets `offered` (atom names), in their
// order and without repeats: STRING, UTF8_STRING and TEXT as text/plain, text/x-moz-url as
// text/uri-list, the rest by name; application/x-qt-image after them when an image type Qt
// can decode is offered.
std::vector<std::string> dropFormats(const std::vector<std::string>& offered);

// The offered targets to ask for `format`, in order: the one Qt would ask for; for
// application/x-qt-image that target and then every offered image type Qt can decode, PNG
// first. Empty when nothing offered gives `format`.
std::vector<std::string> dropTargets(const std::string& format,
                                     const std::vector<std::string>& offered);

// What Qt's drop data gives for `format` when the source answered the request for `target`
// with `data`: text in UTF-8, a UTF-16 URL list (text/x-moz-url: its first URL) as encoded
// URLs each ending in CRLF, anything else as it came. Empty for a pair Qt does not convert.
QByteArray dropData(const std::string& format, const std::string& target, QByteArray data);

} // namespace backend::x11
