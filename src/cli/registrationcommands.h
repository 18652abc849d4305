#pragma once

// Adds "template" and "mail" (registration templates from profile files) to the command table.
void registerRegistrationCommands();
