directory data
MAPPING: D
cache . cache.dns
primary	example.com	example.com.dns
primary gone.com gone.dns
secondary zone.org 10.0.0.1 10.0.0.2 zone.bak
secondary 1.0.10.IN-ADDR.ARPA 10.0.0.1 x.secondary.reverse.DNS ;comment
primary 0.0.127.IN-ADDR.ARPA local.DNS
options forward-only
limit transfers-in 10
xfrnets 10.0.0.0&255.0.0.0
;OS: Windows NT 4.X
unknown line
primary
secondary a b
