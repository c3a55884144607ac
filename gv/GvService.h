// What GV offers over DDE: service "GV", topic "System". Commands
// [DispMsg(OFF)], [ShowGV(OFF)], [FileOpen("path")] and ExitGV(); item
// "DIBRequest" tells the state of the last file opened ("WAIT" while it is
// decoded, "NG" when it cannot be, "OK" when its picture is ready) and item
// "DIB" in clipboard format 18 hands that picture over once. Pictures are
// decoded on a worker thread, so the serving thread always answers.
#pragma once

#include "platform/DdeServer.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace gv {

inline constexpr std::uint32_t kCfDib = 18;

class GvService : public platform::DdeServerHandler {
public:
    using Decoder = std::function<platform::DdeBlock(const QString& path)>;

    // `exitRequested` runs on the serving thread when ExitGV() arrives.
    GvService(Decoder decoder, std::function<void()> exitRequested);
    ~GvService() override;

    bool acceptsTopic(const QString& topic) override;
    bool execute(const QString& topic, const QString& command) override;
    platform::DdeBlock request(const QString& topic, const QString& item, std::uint32_t format) override;

private:
    enum class State { Idle, Wait, Ready, Failed };
    void openFile(const QString& path);
    void decodeLoop();

    Decoder m_decoder;
    std::function<void()> m_exitRequested;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    State m_state = State::Idle;
    std::uint64_t m_generation = 0;  // of the latest FileOpen
    QString m_pendingPath;
    bool m_pending = false;
    bool m_quitting = false;
    platform::DdeBlock m_dib;
    std::thread m_worker;
};

}  // namespace gv
