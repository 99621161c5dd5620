#pragma once

#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace bench {

// Milliseconds on the monotonic clock, comparable between threads.
double nowMs();

// One command seen at the far end: its byte, and when its last byte became
// readable there. The status request counts as the byte 0x2E on both lines.
struct Frame {
    double atMs = 0;
    unsigned char code = 0;
};

// The switcher's end of the line: a reader thread that waits on the far side
// of a pseudo-terminal (or on a UDP socket on 127.0.0.1) and stamps every
// command the moment it can be read, independently of the GUI thread.
class FarEnd {
public:
    virtual ~FarEnd();
    bool ok() const { return m_fd >= 0; }
    std::vector<Frame> frames() const;

protected:
    FarEnd() = default;
    void start();
    void stop();
    void record(double atMs, unsigned char code);
    // Reads what is waiting on m_fd and records the commands it completes.
    virtual void readReady(double atMs) = 0;

    int m_fd = -1;

private:
    void run();

    int m_wake[2] = {-1, -1};
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::vector<Frame> m_frames;
};

// A serial command is its byte followed by a carriage return.
class PtyFarEnd : public FarEnd {
public:
    PtyFarEnd();
    ~PtyFarEnd() override;
    std::string slavePath() const { return m_slavePath; }

private:
    void readReady(double atMs) override;

    int m_slave = -1; // held so that the line stays up
    std::string m_slavePath;
    int m_pending = -1;
};

// A network command is the datagram 0x00, byte, CR; the status request "1.\r".
class UdpFarEnd : public FarEnd {
public:
    UdpFarEnd();
    ~UdpFarEnd() override;
    unsigned short port() const { return m_port; }

private:
    void readReady(double atMs) override;

    unsigned short m_port = 0;
};

} // namespace bench
