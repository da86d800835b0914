# tests of the windows are added here
