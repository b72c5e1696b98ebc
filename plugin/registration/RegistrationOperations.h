// SPDX-License-Identifier: Apache-2.0
#pragma once

// What the start-up routine dispatches to when the program runs stand-alone.
class RegistrationOperations {
public:
    virtual ~RegistrationOperations() = default;
    virtual void Register(bool interactive) = 0;
    virtual void Deregister(int mode, bool interactive) = 0;
    // Shows the registration window modeless; the process lives until it closes.
    virtual void ShowRegistrationWindow() = 0;
};
