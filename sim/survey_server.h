// A stand-in for the maker's survey address on this machine, for scenarios: it listens on
// 127.0.0.1 in its own thread, answers a ping ("&ping=1") with "ping" and any other post with
// a chosen reply, and keeps what it received for the transcript.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace sim {

class SurveyServer {
public:
    // Starts listening; throws std::runtime_error when no socket can be had.
    SurveyServer();
    ~SurveyServer();
    SurveyServer(const SurveyServer&) = delete;
    SurveyServer& operator=(const SurveyServer&) = delete;

    std::string hostPort() const;  // "127.0.0.1:NNNN"
    void setReply(const std::string& reply);

    // "POST /survey.php BODY" per request since the last call, oldest first.
    std::vector<std::string> takeRequests();

private:
    void run();
    void serve(int connection);

    int listener_ = -1;
    int port_ = 0;
    int wakeRead_ = -1, wakeWrite_ = -1;
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::string reply_ = "success";
    std::vector<std::string> requests_;
    std::thread thread_;
};

}  // namespace sim
