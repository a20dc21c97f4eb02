// Device transfer of the configuration against the simulated device.
