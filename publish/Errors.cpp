// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "publish/Errors.h"

#include <utility>

namespace velmora::publish {

UnknownHostKey::UnknownHostKey(std::string keyType, std::string fingerprint, std::string key)
    : Failure("Der Server ist noch unbekannt. Sein Schlüssel: " + keyType + " " + fingerprint),
      keyType_(std::move(keyType)),
      fingerprint_(std::move(fingerprint)),
      key_(std::move(key)) {}

Cancelled::Cancelled() : Failure("Abgebrochen") {}

}  // namespace velmora::publish
