// A small streaming JSON writer for the tools' output. Numbers that are not finite are written
// as null (JSON has no NaN); strings are escaped so that any bytes from a data file stay valid
// JSON (bytes outside printable ASCII become \u00XX).
#pragma once

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "objects/describe.h"

namespace orv {

class JsonWriter : public FieldWriter {
public:
    void BeginObject(const char* key = nullptr) { Open(key, '{'); }
    void EndObject() { Close('}'); }
    void BeginArray(const char* key = nullptr) { Open(key, '['); }
    void EndArray() { Close(']'); }

    void Float(const char* key, double value) override {
        Key(key);
        if (!std::isfinite(value)) {
            out_ += "null";
            return;
        }
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.9g", value);
        out_ += buf;
    }
    void Int(const char* key, int64_t value) override {
        Key(key);
        out_ += std::to_string(value);
    }
    void Bool(const char* key, bool value) override {
        Key(key);
        out_ += value ? "true" : "false";
    }
    void Vec(const char* key, const Vec3& v) override {
        BeginArray(key);
        Float(nullptr, v.x);
        Float(nullptr, v.y);
        Float(nullptr, v.z);
        EndArray();
    }
    void String(const char* key, const char* value) override {
        Key(key);
        if (value)
            AppendQuoted(value);
        else
            out_ += "null";
    }

    const std::string& str() const { return out_; }

private:
    void Key(const char* key) {
        if (!first_.empty()) {
            if (!first_.back()) out_ += ',';
            first_.back() = false;
        }
        if (key) {
            AppendQuoted(key);
            out_ += ':';
        }
    }
    void Open(const char* key, char bracket) {
        Key(key);
        out_ += bracket;
        first_.push_back(true);
    }
    void Close(char bracket) {
        out_ += bracket;
        first_.pop_back();
    }
    void AppendQuoted(const char* text) {
        out_ += '"';
        for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
            const unsigned char c = *p;
            if (c == '"' || c == '\\') {
                out_ += '\\';
                out_ += static_cast<char>(c);
            } else if (c < 0x20 || c >= 0x7f) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out_ += buf;
            } else {
                out_ += static_cast<char>(c);
            }
        }
        out_ += '"';
    }

    std::string out_;
    std::vector<bool> first_;
};

}  // namespace orv
