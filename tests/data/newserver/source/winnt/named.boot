; boot file of ns2, kept by hand
directory	C:\\src\\dns\\data
;MAPPING: G
cache	.	root.cache
primary	example.com	example.com.dns
primary	handwritten.org	handwritten.org.dns
primary	written-out.net	written-out.net.dns
primary	30.117.206.IN-ADDR.ARPA	206.117.30.rev
secondary	other.org	10.0.0.1 10.0.0.2	other.org.bak
forwarders	10.0.0.53
;MAPPING: H (an old note)
