#pragma once
// What was said in one SMTP exchange, as far as deciding what became of the message needs: each refusal
// of the server with the command it answered, and whether QUIT went out. Fed with the lines libcurl
// sends and receives; nothing of a login's lines is kept.
#include <string>
#include <string_view>
#include <vector>

namespace zorvant::watch {

class SmtpTranscript {
public:
    struct Refusal {
        std::string command;  // "MAIL", "RCPT", "DATA" (also the reply after the message's end), "AUTH"...
        std::string argument; // the address of a RCPT
        std::string reply;    // the reply line as the server wrote it
        bool permanent() const { return !reply.empty() && reply[0] == '5'; }
    };

    void sent(std::string_view lines);
    void received(std::string_view lines);

    const std::vector<Refusal>& refusals() const { return refusals_; }
    std::vector<Refusal> refusedRecipients() const;
    bool quitSent() const { return quitSent_; }

private:
    std::string command_;
    std::string argument_;
    std::vector<Refusal> refusals_;
    bool quitSent_ = false;
};

} // namespace zorvant::watch
