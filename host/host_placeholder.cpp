// Placeholder until the host layers are built.
