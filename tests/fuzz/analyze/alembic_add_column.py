"""add owner to book

Revision ID: 3f2a1c9d8e7b
Revises: 1a2b3c4d5e6f
Create Date: 2024-03-01 10:00:00.000000

"""
from alembic import op
import sqlalchemy as sa


# revision identifiers, used by Alembic.
revision = "3f2a1c9d8e7b"
down_revision = "1a2b3c4d5e6f"
branch_labels = None
depends_on = None


def upgrade() -> None:
    op.create_table(
        "owner",
        sa.Column("id", sa.Integer(), nullable=False),
        sa.Column("name", sa.String(length=100), nullable=False),
        sa.PrimaryKeyConstraint("id"),
    )
    op.add_column(
        "book",
        sa.Column("owner_id", sa.Integer(), sa.ForeignKey("owner.id"), nullable=True),
        schema="library",
    )
    op.alter_column("book", "title", existing_type=sa.String(length=200), nullable=False)
    with op.get_context().autocommit_block():
        op.create_index(  # tarn: ignore R001
            "ix_book_owner_id", "book", ["owner_id"], unique=False, postgresql_concurrently=True
        )
    op.execute("UPDATE book SET owner_id = NULL WHERE owner_id = 0")


def downgrade() -> None:
    op.drop_index("ix_book_owner_id", table_name="book")
    op.drop_column("book", "owner_id", schema="library")
    op.drop_table("owner")
