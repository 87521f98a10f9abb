"""book columns

Revision ID: 7c1e2d3f4a5b
Revises: 6b0d1c2e3f4a
Create Date: 2024-03-01 09:00:00.000000

"""
from alembic import op
import sqlalchemy as sa

revision = "7c1e2d3f4a5b"
down_revision = "6b0d1c2e3f4a"


def upgrade() -> None:
    op.execute(
        (
            "CREATE INDEX book_title_idx "  # built by hand
            "ON book (title)"
        )
    )
    op.add_column(("book"), sa.Column(("isbn"), sa.String(13), nullable=(False)))
    op.add_column("book", sa.Column("note", sa.Text(), nullable=(  # optional
        True
    )))
    op.add_column("book", sa.Column("shelf", sa.Integer(), nullable=(False), server_default=(None)))
    op.alter_column("book", "title", nullable=((False)))
    with op.get_context().autocommit_block():
        op.create_index("ix_book_isbn", ("book"), ["isbn"], postgresql_concurrently=(True))


def downgrade() -> None:
    op.drop_column("book", "isbn")
