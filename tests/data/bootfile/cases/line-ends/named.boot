directory C:\\dns\\data
;OS: Windows NT 4.X
cache . cache.dns
primary 1.168.192.in-addr.arpa	192.168.1.rev
primary     0.0.127.IN-ADDR.ARPA     ns1.local.DNS 
primary mixed.com mixed.dns