// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The table of causes: what a failed step of libcurl's means, in the words
// of Errors.h's messages, then what the server said. Only the publish
// uses this; it is apart so that every message can be read in one place.
#pragma once

#include <curl/curl.h>

#include <initializer_list>
#include <string>

namespace velmora::publish {

/// What is known of a failed step.
struct StepFailure {
    CURLcode result = CURLE_OK;
    long reply = 0;  // the FTP server's last reply code, or 0
    bool sftp = false;
    std::string host;        // as the user gave it
    std::string where;       // the folder of the step, as RemoteFolder::shown gives it
    std::string serverText;  // the server's words, or libcurl's (see withheldIfSecret)
};

/// Whether the step failed at the check of the server's identity: its host
/// key (SFTP) or its certificate (FTP with TLS). Those messages need more
/// than the step, and failureMessage does not word them.
[[nodiscard]] bool isIdentityFailure(CURLcode result) noexcept;

/// The message for any other failed step.
[[nodiscard]] std::string failureMessage(const StepFailure& step);

[[nodiscard]] std::string hostKeyChangedMessage(const std::string& keyType,
                                                const std::string& fingerprint);
[[nodiscard]] std::string certificateMessage(const std::string& reason, const std::string& names,
                                             const std::string& serverText);
/// libcurl wanted a second connection, which a publish never makes.
[[nodiscard]] std::string connectionLostMessage();
[[nodiscard]] std::string stalledMessage(long seconds);

/// `text` from the server, or a note that it is left out because it holds
/// one of the non-empty `secrets`. A server may echo the password; starring
/// it out in place would let the words around it tell a short one ("***
/// Login incorrect"), and leaving a short one in would show it.
[[nodiscard]] std::string withheldIfSecret(std::string text,
                                           std::initializer_list<const std::string*> secrets);

}  // namespace velmora::publish
