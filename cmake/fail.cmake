# cmake -DMESSAGE=... -P fail.cmake: a test that fails with MESSAGE, for a check that cannot run.
message(FATAL_ERROR "${MESSAGE}")
