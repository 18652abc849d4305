@echo on
type command.txt | nslookup
