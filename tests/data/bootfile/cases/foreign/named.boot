; boot file written by hand
directory C:\\dns\\data
cache . named.root
;OS: Windows 95
primary zeta.example.com zeta.dns
primary Alpha.Example.COM Alpha.DNS
primary beta.example.com  beta.dns
secondary sec.example.net 10.0.0.1 10.0.0.2 sec.bak
secondary Another.NET 192.168.0.1 another.bak
