#pragma once
// CStatusSink: how a long operation (connecting, searching, waiting for an answer,
// downloading) reports its progress and learns whether to go on. A plain instance shows
// nothing and never cancels.
#include <string>

class CStatusSink {
public:
    virtual ~CStatusSink() = default;
    virtual void OnStatus(const std::string& text) { (void)text; }
    // 0 cancels the running operation.
    virtual int Continue() { return 1; }
};
