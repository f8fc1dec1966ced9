// The editor page: its first module.
